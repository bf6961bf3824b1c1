#include "mainwindow/NameTextEdit.h"

#include <QKeyEvent>
#include <QTextBlock>

NameTextEdit::NameTextEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setUndoRedoEnabled(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_settingText)
            Q_EMIT changed();
    });
}

QString NameTextEdit::toEditorText(const QString& crlfText)
{
    QString t = crlfText;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

QString NameTextEdit::fromEditorText(const QString& editorText)
{
    QString t;
    t.reserve(editorText.size() + editorText.size() / 8);
    for (QChar c : editorText) {
        if (c == QChar::ParagraphSeparator || c == QLatin1Char('\n'))
            t += QStringLiteral("\r\n");
        else
            t += c;
    }
    return t;
}

QString NameTextEdit::text() const
{
    // toPlainText() would turn a no-break space into a blank.
    return fromEditorText(document()->toRawText());
}

void NameTextEdit::setText(const QString& crlfText)
{
    m_settingText = true;
    setPlainText(toEditorText(crlfText));
    m_settingText = false;
    Q_EMIT changed();
}

qsizetype NameTextEdit::lineCount() const
{
    return document()->blockCount();
}

qsizetype NameTextEdit::toCanonical(int editorPos) const
{
    const QTextBlock block = document()->findBlock(editorPos);
    return qsizetype(editorPos) + (block.isValid() ? block.blockNumber() : document()->blockCount() - 1);
}

int NameTextEdit::toEditor(qsizetype canonicalPos) const
{
    // Each block before the one holding the position adds one character (LF) to the CR LF form.
    QTextDocument* doc = document();
    int lo = 0;
    int hi = doc->blockCount() - 1;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        const qsizetype start = qsizetype(doc->findBlockByNumber(mid).position()) + mid;
        if (start <= canonicalPos)
            lo = mid;
        else
            hi = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(lo);
    const qsizetype offsetInBlock = canonicalPos - (qsizetype(block.position()) + lo);
    return block.position() + int(qBound(qsizetype(0), offsetInBlock, qsizetype(block.length() - 1)));
}

qsizetype NameTextEdit::selectionStart() const
{
    return toCanonical(textCursor().selectionStart());
}

qsizetype NameTextEdit::selectionLength() const
{
    const QTextCursor c = textCursor();
    return toCanonical(c.selectionEnd()) - toCanonical(c.selectionStart());
}

QString NameTextEdit::selectedText() const
{
    return fromEditorText(textCursor().selectedText());
}

void NameTextEdit::setSelection(qsizetype start, qsizetype length)
{
    QTextCursor c = textCursor();
    c.setPosition(toEditor(start));
    c.setPosition(toEditor(start + length), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

qsizetype NameTextEdit::cursorPosition() const
{
    return toCanonical(textCursor().position());
}

void NameTextEdit::keyPressEvent(QKeyEvent* event)
{
    // Shift+Enter would insert a soft line separator; a name text only knows real lines.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && (event->modifiers() & Qt::ShiftModifier)) {
        textCursor().insertBlock();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void NameTextEdit::focusInEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusInEvent(event);
    Q_EMIT focusIn();
}

void NameTextEdit::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    Q_EMIT focusOut();
}
