// The keys of the name text: those of a plain text box, Tab that moves on, and a line pointed out by the
// list that one keystroke cannot replace.
#include "mainwindow/NameTextEdit.h"

#include <QKeyEvent>

#include <algorithm>
#include <set>

namespace {

// Keys that would replace a selection: typed characters, deleting and breaking the line, and pasting.
// Cutting is left alone: it keeps what it takes.
bool typesOverSelection(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    default:
        break;
    }
    if (event->matches(QKeySequence::Paste))
        return true;
    const QString typed = event->text();
    return !typed.isEmpty() && typed.at(0).isPrint();
}

}  // namespace

void NameTextEdit::keepTextBoxKeys()
{
    // The keys of a plain text box; the library's code-editor bindings (line duplicate, transpose,
    // indent, case change...) go.
    static const std::set<int> kept = {
        QsciCommand::LineDown, QsciCommand::LineDownExtend, QsciCommand::LineUp, QsciCommand::LineUpExtend,
        QsciCommand::CharLeft, QsciCommand::CharLeftExtend, QsciCommand::CharRight, QsciCommand::CharRightExtend,
        QsciCommand::WordLeft, QsciCommand::WordLeftExtend, QsciCommand::WordRight, QsciCommand::WordRightExtend,
        QsciCommand::LineEnd, QsciCommand::LineEndExtend, QsciCommand::DocumentStart,
        QsciCommand::DocumentStartExtend, QsciCommand::DocumentEnd, QsciCommand::DocumentEndExtend,
        QsciCommand::PageUp, QsciCommand::PageUpExtend, QsciCommand::PageDown, QsciCommand::PageDownExtend,
        QsciCommand::Delete, QsciCommand::DeleteBack, QsciCommand::DeleteWordLeft, QsciCommand::DeleteWordRight,
        QsciCommand::SelectAll, QsciCommand::SelectionCut, QsciCommand::SelectionCopy, QsciCommand::Paste,
        QsciCommand::Newline, QsciCommand::Undo, QsciCommand::Redo, QsciCommand::ZoomIn, QsciCommand::ZoomOut,
    };
    QsciCommandSet* commands = standardCommands();
    for (QsciCommand* c : commands->commands()) {
        if (kept.count(int(c->command())) == 0) {
            c->setKey(0);
            c->setAlternateKey(0);
        }
    }
    // Home goes to the start of the line, not to its first non-blank.
    for (QsciCommand* c : commands->commands()) {
        if (c->command() == QsciCommand::Home)
            c->setKey(Qt::Key_Home);
        else if (c->command() == QsciCommand::HomeExtend)
            c->setKey((Qt::SHIFT | Qt::Key_Home).toCombined());
    }
}

void NameTextEdit::pointOut(qsizetype start, qsizetype length)
{
    setSelection(start, length);
    m_pointedAnchor = SendScintilla(SCI_GETANCHOR);
    m_pointedCaret = SendScintilla(SCI_GETCURRENTPOS);
}

bool NameTextEdit::pointedOut() const
{
    return m_pointedAnchor >= 0 && m_pointedAnchor != m_pointedCaret && SendScintilla(SCI_GETANCHOR) == m_pointedAnchor
           && SendScintilla(SCI_GETCURRENTPOS) == m_pointedCaret;
}

void NameTextEdit::leavePointedOut()
{
    SendScintilla(SCI_SETEMPTYSELECTION, std::max(m_pointedAnchor, m_pointedCaret));
    m_pointedAnchor = m_pointedCaret = -1;
}

void NameTextEdit::keyPressEvent(QKeyEvent* event)
{
    if (pointedOut() && typesOverSelection(event)) {
        leavePointedOut();
        // At the end of the line a deleting key would take a character of the name or join it with the
        // next one; this first press only lifts the selection.
        if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete) {
            event->accept();
            return;
        }
    }
    if (deleteCharacterBack(event)) {
        event->accept();
        return;
    }
    QsciScintilla::keyPressEvent(event);
}

bool NameTextEdit::deleteCharacterBack(const QKeyEvent* event)
{
    // The editor's own Backspace first counts the columns from the start of the line to the caret, to
    // unindent code: a line of all names joined would be walked at every press. Inside a line it only
    // takes the character before the caret, which this does at once; at the start of a line (joining two
    // lines) and with a selection the editor's own key stays.
    if (event->key() != Qt::Key_Backspace || event->modifiers() != Qt::NoModifier || isReadOnly())
        return false;
    const long caret = SendScintilla(SCI_GETCURRENTPOS);
    const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, SendScintilla(SCI_LINEFROMPOSITION, caret));
    if (caret != SendScintilla(SCI_GETANCHOR) || caret == lineStart)
        return false;
    const long before = SendScintilla(SCI_POSITIONBEFORE, caret);
    SendScintilla(SCI_DELETERANGE, static_cast<unsigned long>(before), caret - before);
    SendScintilla(SCI_CHOOSECARETX);
    SendScintilla(SCI_SCROLLCARET);
    return true;
}

void NameTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (pointedOut() && !event->commitString().isEmpty())
        leavePointedOut();
    QsciScintilla::inputMethodEvent(event);
}

bool NameTextEdit::focusNextPrevChild(bool next)
{
    // The editor's own version keeps Tab for typing tabs while it can be edited.
    return QAbstractScrollArea::focusNextPrevChild(next);
}
