#include "mainwindow/NameTextEdit.h"

#include "names/FreedMemory.h"

#include <QApplication>

#include <algorithm>
#include <cstring>

namespace {

// The memory a tool command takes from which the heap is made ready for large pages: a text of some eight
// million characters, past which each command's fresh memory held up the window longest.
constexpr size_t kLargeWork = size_t(64) << 20;

// Scintilla takes a position or line (never negative here) as its unsigned first argument.
unsigned long wParam(qsizetype value)
{
    return static_cast<unsigned long>(value);
}

constexpr int kMarginCount = 5;
constexpr int kTextBoxScrollWidth = 1;  // grows with the widest line drawn

// Widths of runs the editor keeps (its own default, 1,024, is too few for the runs of a long line).
constexpr long kPositionCacheEntries = 65536;

// The editor's bytes as characters, a leading U+FEFF kept: it may begin a name like any other character.
QStringDecoder editorDecoder()
{
    return QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
}

QString fromEditorBytes(QByteArrayView bytes)
{
    return editorDecoder().decode(bytes);
}

// Bytes of a UTF-8 sequence and the UTF-16 code units of its character, from its lead byte.
int utf8Length(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    return lead >= 0xC0 ? 2 : 1;
}

int utf16Units(int utf8Bytes)
{
    return utf8Bytes == 4 ? 2 : 1;
}

}  // namespace

NameTextEdit::NameTextEdit(QWidget* parent) : QsciScintilla(parent)
{
    setUtf8(true);
    setEolMode(QsciScintilla::EolWindows);
    setWrapMode(QsciScintilla::WrapNone);
    for (int margin = 0; margin < kMarginCount; ++margin)
        setMarginWidth(margin, 0);
    setFolding(QsciScintilla::NoFoldStyle);
    SendScintilla(SCI_SETSCROLLWIDTH, kTextBoxScrollWidth);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1);
    // Rectangular selections cannot be told as one start and length.
    SendScintilla(SCI_SETRECTANGULARSELECTIONMODIFIER, 0);
    keepTextBoxKeys();
    applyPalette();
    // After every key the editor counts the cursor's column from the start of its line, to report it in
    // a signal nobody here listens to, and matches braces, which names need not; in a line of all names
    // joined that count is a walk over millions of characters per key.
    disconnect(this, SIGNAL(SCN_UPDATEUI(int)), this, SLOT(handleUpdateUI(int)));
    connect(this, &QsciScintilla::textChanged, this, &NameTextEdit::onTextChanged);
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char*, int length, int linesAdded, int, int, int, int, int) {
                // Every insertion, typed, pasted, undone or redone, and every deletion that may join lines,
                // before the editor lays the text out.
                if ((type & SC_MOD_INSERTTEXT) && length > 0)
                    measureLongLinesInShortRuns(position, long(position) + length, linesAdded != 0 ? -1 : length);
                else if (type & SC_MOD_DELETETEXT)
                    measureLongLinesInShortRuns(position, position, linesAdded != 0 ? -1 : 0);
            });
}

void NameTextEdit::applyPalette()
{
    // The editor paints with colours and a font of its own; it takes them from the widget's here.
    if (m_applyingLook)
        return;
    m_applyingLook = true;
    const QPalette p = palette();
    QsciScintilla::setFont(font());
    setPaper(p.color(QPalette::Base));
    setColor(p.color(QPalette::Text));
    setCaretForegroundColor(p.color(QPalette::Text));
    setSelectionBackgroundColor(p.color(QPalette::Highlight));
    setSelectionForegroundColor(p.color(QPalette::HighlightedText));
    // The twin style of long lines looks exactly like the text style.
    QByteArray face(SendScintilla(SCI_STYLEGETFONT, kTextStyle, static_cast<void*>(nullptr)) + 1, '\0');
    SendScintilla(SCI_STYLEGETFONT, kTextStyle, static_cast<void*>(face.data()));
    SendScintilla(SCI_STYLESETFONT, kTwinStyle, face.constData());
    static const std::pair<unsigned, unsigned> kCopied[] = {
        {SCI_STYLEGETSIZEFRACTIONAL, SCI_STYLESETSIZEFRACTIONAL}, {SCI_STYLEGETWEIGHT, SCI_STYLESETWEIGHT},
        {SCI_STYLEGETITALIC, SCI_STYLESETITALIC}, {SCI_STYLEGETUNDERLINE, SCI_STYLESETUNDERLINE},
        {SCI_STYLEGETFORE, SCI_STYLESETFORE}, {SCI_STYLEGETBACK, SCI_STYLESETBACK},
        {SCI_STYLEGETCHARACTERSET, SCI_STYLESETCHARACTERSET}, {SCI_STYLEGETCASE, SCI_STYLESETCASE},
        {SCI_STYLEGETEOLFILLED, SCI_STYLESETEOLFILLED},
    };
    for (const auto& [get, set] : kCopied)
        SendScintilla(set, kTwinStyle, SendScintilla(get, kTextStyle));
    m_applyingLook = false;
}

void NameTextEdit::changeEvent(QEvent* event)
{
    QsciScintilla::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        applyPalette();
}

QString NameTextEdit::text() const
{
    const long length = SendScintilla(SCI_GETLENGTH);
    const auto* bytes = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    return fromEditorBytes(QByteArrayView(bytes, length));
}

void NameTextEdit::TextCopy::start(const NameTextEdit* box)
{
    m_box = box;
    m_read = 0;
    m_written = 0;
    m_length = box->SendScintilla(SCI_GETLENGTH);
    // A text has no more UTF-16 units than UTF-8 bytes; the copy before left memory enough, mostly.
    m_text.resize(m_length);
    m_decoder = editorDecoder();
}

bool NameTextEdit::TextCopy::advance(qsizetype maxBytes)
{
    // A fill in slices changes the text without a change note until its end: the copy starts again.
    if (m_box->SendScintilla(SCI_GETLENGTH) != m_length)
        start(m_box);
    const long n = std::min(long(maxBytes), m_length - m_read);
    if (n > 0) {
        // Asked for at every piece: once the editor's gap is at the end this costs nothing.
        const auto* bytes = static_cast<const char*>(m_box->SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
        // The decoder keeps a character cut between two pieces.
        QChar* end = m_decoder.appendToBuffer(m_text.data() + m_written, QByteArrayView(bytes + m_read, n));
        m_written = end - m_text.constData();
        m_read += n;
    }
    return m_read == m_length;
}

bool NameTextEdit::holds(QStringView crlfText) const
{
    const long length = SendScintilla(SCI_GETLENGTH);
    const auto* bytes = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    return QAnyStringView::equal(QUtf8StringView(bytes, length), crlfText);
}

void NameTextEdit::ensurePositionIndex() const
{
    // Line starts in UTF-16 code units: positions convert without reading the text before them.
    if (!m_positionIndex) {
        SendScintilla(SCI_ALLOCATELINECHARACTERINDEX, SC_LINECHARACTERINDEX_UTF16);
        m_positionIndex = true;
    }
}

void NameTextEdit::releasePositionIndex()
{
    if (m_positionIndex) {
        SendScintilla(SCI_RELEASELINECHARACTERINDEX, SC_LINECHARACTERINDEX_UTF16);
        m_positionIndex = false;
    }
}

void NameTextEdit::setText(const QString& crlfText)
{
    ++m_eventDepth;
    SendScintilla(SCI_BEGINUNDOACTION);
    replaceAll(crlfText);
    SendScintilla(SCI_ENDUNDOACTION);
    --m_eventDepth;
    m_changePending = false;
    Q_EMIT changed();
    // A tool command on a large text takes memory of several times its size that is new to the program (the
    // undo history keeps the old and the new text, and grows with every command): made ready for the next.
    if (const size_t bytes = size_t(8) * size_t(SendScintilla(SCI_GETLENGTH)); bytes >= kLargeWork)
        names::roomForLargeBlocks(bytes);
}

void NameTextEdit::loadText(const QString& crlfText)
{
    loadText(crlfText, {});
}

bool NameTextEdit::loadText(const QString& crlfText, const std::function<bool()>& turn)
{
    return load([&] { return fill(crlfText, turn, false); });
}

bool NameTextEdit::load(const std::function<bool()>& fillBox)
{
    ++m_eventDepth;
    SendScintilla(SCI_SETUNDOCOLLECTION, 0L);
    const bool finished = fillBox();
    SendScintilla(SCI_SETUNDOCOLLECTION, 1L);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    --m_eventDepth;
    m_changePending = false;
    if (finished)
        Q_EMIT changed();
    return finished;
}

void NameTextEdit::forgetUndoHistory()
{
    SendScintilla(SCI_EMPTYUNDOBUFFER);
}

qsizetype NameTextEdit::lineCount() const
{
    return SendScintilla(SCI_GETLINECOUNT);
}

qsizetype NameTextEdit::toCanonical(long editorPos) const
{
    ensurePositionIndex();
    const long line = SendScintilla(SCI_LINEFROMPOSITION, editorPos);
    const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, line);
    return SendScintilla(SCI_INDEXPOSITIONFROMLINE, wParam(line), long(SC_LINECHARACTERINDEX_UTF16)) +
           SendScintilla(SCI_COUNTCODEUNITS, wParam(lineStart), editorPos);
}

long NameTextEdit::toEditor(qsizetype canonicalPos, Round round) const
{
    if (canonicalPos <= 0)
        return 0;
    ensurePositionIndex();
    const long line = SendScintilla(SCI_LINEFROMINDEXPOSITION, wParam(canonicalPos), long(SC_LINECHARACTERINDEX_UTF16));
    const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, line);
    const long lineEnd = SendScintilla(SCI_GETLINEENDPOSITION, line);
    qsizetype unitsLeft = canonicalPos - SendScintilla(SCI_INDEXPOSITIONFROMLINE, wParam(line), long(SC_LINECHARACTERINDEX_UTF16));
    if (unitsLeft <= 0 || lineEnd == lineStart)
        return lineStart;
    // Walk the line's characters; a line is one name, so this stays short.
    QByteArray bytes(lineEnd - lineStart + 1, Qt::Uninitialized);
    SendScintilla(SCI_GETTEXTRANGE, lineStart, lineEnd, bytes.data());
    const qsizetype length = lineEnd - lineStart;
    qsizetype pos = 0;
    while (pos < length && unitsLeft > 0) {
        const int n = utf8Length(static_cast<unsigned char>(bytes.at(pos)));
        const int units = utf16Units(n);
        if (units > unitsLeft && round == Round::Down)
            break;
        unitsLeft -= units;
        pos += n;
    }
    // Past the line's text (inside its CR LF): the end of the line.
    return lineStart + long(std::min(pos, length));
}

qsizetype NameTextEdit::selectionStart() const
{
    return toCanonical(SendScintilla(SCI_GETSELECTIONSTART));
}

qsizetype NameTextEdit::selectionLength() const
{
    const long start = SendScintilla(SCI_GETSELECTIONSTART);
    const long end = SendScintilla(SCI_GETSELECTIONEND);
    return end == start ? 0 : toCanonical(end) - toCanonical(start);
}

QString NameTextEdit::selectedText() const
{
    const long start = SendScintilla(SCI_GETSELECTIONSTART);
    const long end = SendScintilla(SCI_GETSELECTIONEND);
    if (end <= start)
        return QString();
    QByteArray bytes(end - start + 1, Qt::Uninitialized);
    SendScintilla(SCI_GETTEXTRANGE, start, end, bytes.data());
    return fromEditorBytes(QByteArrayView(bytes.constData(), end - start));
}

void NameTextEdit::setSelection(qsizetype start, qsizetype length)
{
    // The anchor stays at start, the cursor goes to its end, as when selecting with Shift.
    const qsizetype end = start + length;
    const long anchor = toEditor(start, length >= 0 ? Round::Down : Round::Up);
    const long caret = length == 0 ? anchor : toEditor(end, length > 0 ? Round::Up : Round::Down);
    SendScintilla(SCI_SETSEL, wParam(anchor), caret);
}

qsizetype NameTextEdit::cursorPosition() const
{
    return toCanonical(SendScintilla(SCI_GETCURRENTPOS));
}

qsizetype NameTextEdit::cursorLine() const
{
    return SendScintilla(SCI_LINEFROMPOSITION, SendScintilla(SCI_GETCURRENTPOS));
}

void NameTextEdit::onTextChanged()
{
    // Replacing a selection arrives as a deletion and an insertion: one change for the user.
    if (m_eventDepth > 0)
        m_changePending = true;
    else
        Q_EMIT changed();
}

void NameTextEdit::leaveEvent()
{
    if (--m_eventDepth == 0 && m_changePending) {
        m_changePending = false;
        Q_EMIT changed();
    }
}

bool NameTextEdit::event(QEvent* event)
{
    ++m_eventDepth;
    const bool handled = QsciScintilla::event(event);
    leaveEvent();
    return handled;
}

bool NameTextEdit::viewportEvent(QEvent* event)
{
    // A click in the text is a selection of the user's own.
    if (event->type() == QEvent::MouseButtonPress)
        m_pointedAnchor = m_pointedCaret = -1;
    // The widths are asked for only while the box draws: a box that stays hidden needs no room for them
    // (a megabyte).
    if (event->type() == QEvent::Paint && !m_positionCacheSet) {
        SendScintilla(SCI_SETPOSITIONCACHE, kPositionCacheEntries);
        m_positionCacheSet = true;
    }
    ++m_eventDepth;
    const bool handled = QsciScintilla::viewportEvent(event);
    leaveEvent();
    if (event->type() == QEvent::Paint) {
        // The editor widens its scroll range while it draws longer lines, but its scroll bar learns of it
        // only at the next resize; tell it now so that a long name can be scrolled to.
        const long width = SendScintilla(SCI_GETSCROLLWIDTH);
        if (width != m_scrollWidth) {
            m_scrollWidth = width;
            setScrollBars();
        }
    }
    return handled;
}

void NameTextEdit::focusInEvent(QFocusEvent* event)
{
    QsciScintilla::focusInEvent(event);
    Q_EMIT focusIn();
}

void NameTextEdit::focusOutEvent(QFocusEvent* event)
{
    QsciScintilla::focusOutEvent(event);
    Q_EMIT focusOut();
}
