#include "mainwindow/NameMarks.h"

#include "mainwindow/NameTextEdit.h"
#include "ui/Contrast.h"
#include "ui/RenameMessages.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>

#include <algorithm>

namespace {

// One slice of the check; typing waits at most this long for it.
constexpr int kSliceMs = 2;
// Bytes of the text copied between two looks at the clock.
constexpr qsizetype kCopyPieceBytes = 256 * 1024;
// Above this many lines the text is not checked while it is edited: the check's first step (the text and
// the tables of the names) would block the window for longer than a key may, and its copies would double
// the memory of a million names. The rename still checks every line.
constexpr qsizetype kMostLinesChecked = 250000;
// Red for marks, and a lighter red where the paper is too dark for it.
constexpr QRgb kMarkRed = 0xD01010;
constexpr QRgb kMarkRedOnDark = 0xFF6E6E;

QString withNote(const QString& tip, const QString& note)
{
    if (note.isEmpty())
        return tip;
    return tip.isEmpty() ? note : tip + QStringLiteral("\n\n") + note;
}

}  // namespace

NameMarks::NameMarks(NameTextEdit* box, QWidget* countLabel, QWidget* renameButton, QObject* parent)
    : QObject(parent), m_box(box), m_countLabel(countLabel), m_renameButton(renameButton),
      m_countLabelTip(countLabel ? countLabel->toolTip() : QString()),
      m_renameTip(renameButton ? renameButton->toolTip() : QString())
{
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, &NameMarks::workSlice);
    connect(m_box, &NameTextEdit::changed, this, &NameMarks::restart);
    m_box->installEventFilter(this);
    m_box->viewport()->installEventFilter(this);
    applyColour();
}

NameMarks::~NameMarks() = default;

void NameMarks::setContext(names::RenameContext context)
{
    m_checker = std::make_unique<names::NameTextChecker>(std::move(context));
    restart();
}

void NameMarks::restart()
{
    // The text changed: a check under way looks at an old text.
    m_paused = false;
    if (!m_checker)
        return;
    if (m_box->lineCount() <= kMostLinesChecked) {
        m_copy.start(m_box);
        m_copied = false;
        m_slices.start();
        return;
    }
    m_slices.stop();
    m_marks.clear();
    m_markedLines.clear();
    if (!m_shownSpans.isEmpty())
        m_box->setMarks({}, true);
    m_shownSpans.clear();
    const QString note = ui::marksOffNote(kMostLinesChecked);
    if (m_countLabel)
        m_countLabel->setToolTip(withNote(m_countLabelTip, note));
    if (m_renameButton)
        m_renameButton->setToolTip(withNote(m_renameTip, note));
}

bool NameMarks::work(const QDeadlineTimer& deadline)
{
    while (!m_copied) {
        m_copied = m_copy.advance(kCopyPieceBytes);
        if (m_copied)
            m_checker->start(m_copy.text());
        else if (deadline.hasExpired())
            return false;
    }
    return m_checker->advance(deadline);
}

void NameMarks::workSlice()
{
    if (work(QDeadlineTimer(kSliceMs)))
        show();
}

void NameMarks::pause()
{
    m_paused = m_slices.isActive();
    m_slices.stop();
}

void NameMarks::resume()
{
    if (m_paused)
        m_slices.start();
    m_paused = false;
}

void NameMarks::finish()
{
    if (!m_slices.isActive())
        return;
    work(QDeadlineTimer(QDeadlineTimer::Forever));
    show();
}

void NameMarks::show()
{
    m_slices.stop();
    m_marks = m_checker->marks();
    QList<NameTextEdit::Mark> spans;
    spans.reserve(m_marks.size());
    m_markedLines.clear();
    for (const names::LineMark& mark : m_marks) {
        const bool newLine = m_markedLines.isEmpty() || m_markedLines.last() != mark.line;
        if (newLine)
            m_markedLines.append(mark.line);
        if (mark.issue == names::LineIssue::InvalidCharacter)
            spans.append({mark.line, mark.column, 1, NameTextEdit::MarkStyle::Character});
        else if (newLine || spans.last().style != NameTextEdit::MarkStyle::Line)
            spans.append({mark.line, 0, 0, NameTextEdit::MarkStyle::Line});
    }
    // The same marks as before have moved with the text already: they are only filled in again.
    m_box->setMarks(spans, spans != m_shownSpans);
    m_shownSpans = std::move(spans);
    const QString note = ui::markedLinesNote(m_markedLines.size());
    if (m_countLabel)
        m_countLabel->setToolTip(withNote(m_countLabelTip, note));
    if (m_renameButton)
        m_renameButton->setToolTip(withNote(m_renameTip, note));
    Q_EMIT marksShown();
}

QString NameMarks::reasonOfLine(qsizetype line) const
{
    auto it = std::lower_bound(m_marks.cbegin(), m_marks.cend(), line,
                               [](const names::LineMark& m, qsizetype l) { return m.line < l; });
    QStringList reasons;
    for (; it != m_marks.cend() && it->line == line; ++it) {
        const QString reason = ui::lineMarkText(*it);
        if (!reasons.contains(reason))
            reasons.append(reason);
    }
    return reasons.join(QLatin1Char('\n'));
}

bool NameMarks::goToMark(bool forward)
{
    finish();
    if (m_markedLines.isEmpty())
        return false;
    const qsizetype current = m_box->cursorLine();
    qsizetype line = 0;
    if (forward) {
        const auto next = std::upper_bound(m_markedLines.cbegin(), m_markedLines.cend(), current);
        line = next != m_markedLines.cend() ? *next : m_markedLines.first();
    } else {
        const auto next = std::lower_bound(m_markedLines.cbegin(), m_markedLines.cend(), current);
        line = next != m_markedLines.cbegin() ? *(next - 1) : m_markedLines.last();
    }
    m_box->goToLine(line);
    QWidget* viewport = m_box->viewport();
    QToolTip::showText(viewport->mapToGlobal(m_box->pointBelowLine(line)), reasonOfLine(line), viewport);
    return true;
}

void NameMarks::applyColour()
{
    const QColor paper = m_box->palette().color(QPalette::Base);
    m_box->setMarkColour(ui::contrast::visibleOn(QColor(kMarkRed), paper, QColor(kMarkRedOnDark)));
}

bool NameMarks::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_box) {
        if (event->type() == QEvent::PaletteChange) {
            applyColour();
        } else if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
            if (key->key() == Qt::Key_F8 && (mods == Qt::NoModifier || mods == Qt::ShiftModifier)) {
                event->accept();
                if (event->type() == QEvent::KeyPress)
                    goToMark(mods == Qt::NoModifier);
                return true;
            }
        }
    } else if (watched == m_box->viewport() && event->type() == QEvent::ToolTip) {
        finish();
        auto* help = static_cast<QHelpEvent*>(event);
        const qsizetype line = m_box->lineAt(help->pos());
        const QString reason = line >= 0 ? reasonOfLine(line) : QString();
        if (reason.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), reason, m_box->viewport());
        return true;
    }
    return QObject::eventFilter(watched, event);
}
