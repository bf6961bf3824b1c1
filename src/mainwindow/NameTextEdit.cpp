#include "mainwindow/NameTextEdit.h"

#include <QAccessible>
#include <QApplication>

#include <algorithm>
#include <cstring>

namespace {

// Scintilla takes a position or line (never negative here) as its unsigned first argument.
unsigned long wParam(qsizetype value)
{
    return static_cast<unsigned long>(value);
}

constexpr int kMarginCount = 5;
constexpr int kTextBoxScrollWidth = 1;  // grows with the widest line drawn

// Lines longer than this (all names joined into one, say) are measured in short runs; see
// measureLongLinesInShortRuns. A line of one name never comes near it.
constexpr long kLongLineBytes = 4096;
// Two styles that look the same; a long line alternates between them, a run holding up to this many
// ASCII characters (more would make too many different runs for the editor to keep their widths).
constexpr int kAsciiPerRun = 3;
// The name text goes into the box in slices of about this many UTF-16 code units (some 20,000 lines).
constexpr qsizetype kFillSliceUnits = qsizetype(1) << 19;
// Characters either side of a change of a long line that get new runs with it.
constexpr long kRestyledAround = 16;
// Widths of runs the editor keeps (its own default, 1,024, is too few for the runs of a long line).
constexpr long kPositionCacheEntries = 65536;
constexpr int kTextStyle = 0;
constexpr int kTwinStyle = 1;

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

qsizetype utf8Size(QStringView text)
{
    qsizetype bytes = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        bytes += u < 0x80 ? 1 : (u < 0x800 || QChar::isSurrogate(u)) ? 2 : 3;  // a pair: 2 + 2
    }
    return bytes;
}

// The box keeps every line end as CR LF; a lone CR or LF given to it becomes one, as a line break.
QByteArray editorBytes(QStringView crlfText)
{
    QByteArray utf8 = crlfText.toUtf8();
    // Only CR LF pairs: as many CRs as LFs, and each LF right after a CR.
    const QByteArrayView all(utf8);
    bool lone = all.count('\r') != all.count('\n');
    for (qsizetype lf = all.indexOf('\n'); !lone && lf >= 0; lf = all.indexOf('\n', lf + 1))
        lone = lf == 0 || all[lf - 1] != '\r';
    if (!lone)
        return utf8;
    QByteArray out;
    out.reserve(utf8.size() + utf8.size() / 8);
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
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
    SendScintilla(SCI_SETPOSITIONCACHE, kPositionCacheEntries);
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

// The editor measures a line in runs of one style, each through the toolkit's text layout, and that costs
// about half a microsecond per character: a line of three million characters would freeze the window for
// seconds whenever it is laid out. Runs of a few characters cost a fraction of that, as the editor keeps
// the widths of short runs it has measured. So a long line changes between two styles that look the same
// before every third ASCII character: combining marks and other characters that shape together stay in
// the run of the character before them. (Kerning across the ends of such runs is lost.)
void NameTextEdit::measureLongLinesInShortRuns(long from, long to, long inserted)
{
    const long firstLine = SendScintilla(SCI_LINEFROMPOSITION, from);
    const long lastLine = SendScintilla(SCI_LINEFROMPOSITION, to);
    const long start = SendScintilla(SCI_POSITIONFROMLINE, firstLine);
    const long end = SendScintilla(SCI_GETLINEENDPOSITION, lastLine);
    if (end - start <= kLongLineBytes)
        return;
    const auto* text = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    auto ascii = [text](long i) { return static_cast<unsigned char>(text[i]) < 0x80; };
    QByteArray styles;
    for (long lineStart = start; lineStart < end;) {
        const void* cr = std::memchr(text + lineStart, '\r', size_t(end - lineStart));
        const long lineEnd = cr ? long(static_cast<const char*>(cr) - text) : end;
        if (lineEnd - lineStart > kLongLineBytes) {
            // A line that was long before and only changed inside needs new runs only about the change: a
            // key typed into a joined line restyles a handful of characters, not the whole line. The part
            // starts and ends before an ASCII character, so that no character is cut off from one that
            // shapes with it. A line that has just become long, or gained or lost a line break, gets runs
            // throughout.
            const bool wasLong = inserted >= 0 && lineEnd - lineStart - inserted > kLongLineBytes;
            long first = wasLong ? std::max(lineStart, from - kRestyledAround) : lineStart;
            while (first > lineStart && !ascii(first))
                --first;
            long last = wasLong ? std::min(lineEnd, to + kRestyledAround) : lineEnd;
            while (last < lineEnd && !ascii(last))
                ++last;
            char style = first > lineStart && SendScintilla(SCI_GETSTYLEAT, first - 1) == kTextStyle ? kTwinStyle
                                                                                                     : kTextStyle;
            styles.resize(last - first);
            char* out = styles.data();
            int asciiInRun = 0;
            for (long i = first; i < last; ++i) {
                if (ascii(i) && asciiInRun++ == kAsciiPerRun) {
                    asciiInRun = 1;
                    style = style == kTextStyle ? kTwinStyle : kTextStyle;
                }
                out[i - first] = style;
            }
            SendScintilla(SCI_STARTSTYLING, first);
            SendScintilla(SCI_SETSTYLINGEX, uintptr_t(styles.size()), styles.constData());
        }
        lineStart = lineEnd + 2;  // past the CR LF
    }
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
    return QString::fromUtf8(bytes, length);
}

bool NameTextEdit::holds(QStringView crlfText) const
{
    const long length = SendScintilla(SCI_GETLENGTH);
    const auto* bytes = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    return QAnyStringView::equal(QUtf8StringView(bytes, length), crlfText);
}

void NameTextEdit::replaceAll(const QString& crlfText)
{
    fill(crlfText, {});
}

// Empties the box and adds the text in slices that end after a line break (or, in a line longer than a
// slice, before a character that is not a CR and not the second half of a pair), each converted on its
// own: no UTF-8 copy of the whole text, and a turn of the event loop between slices when asked for.
bool NameTextEdit::fill(const QString& crlfText, const std::function<bool()>& turn)
{
    // Keeping the position index up to date while 100,000 lines go in costs more than building it anew
    // when a position is next asked for.
    releasePositionIndex();
    // The editor's notes of each change hand the whole old and new text to the accessibility layer as
    // strings (and copy them once more), which at a million lines costs more than the change itself. With
    // no assistive tool listening, nobody reads them: the callers of this function report the change.
    const bool quiet = !QAccessible::isActive();
    const long noted = SendScintilla(SCI_GETMODEVENTMASK);
    if (quiet)
        SendScintilla(SCI_SETMODEVENTMASK, 0L);
    SendScintilla(SCI_CLEARALL);
    // Room for the whole text at once, or the editor would grow its buffers slice by slice.
    SendScintilla(SCI_ALLOCATE, long(utf8Size(crlfText)) + 1);
    const QStringView all(crlfText);
    bool finished = !turn || all.size() <= kFillSliceUnits || turn();
    for (qsizetype from = 0; finished && from < all.size();) {
        qsizetype to = std::min(all.size(), from + kFillSliceUnits);
        if (to < all.size()) {
            const qsizetype lf = all.lastIndexOf(u'\n', to - 1);
            if (lf >= from) {
                to = lf + 1;
            } else {
                while (to > from + 1 && (all[to - 1] == u'\r' || all[to].isLowSurrogate()))
                    --to;
            }
        }
        const QStringView slice = all.sliced(from, to - from);
        const QByteArray bytes = editorBytes(slice);
        const long at = SendScintilla(SCI_GETLENGTH);
        SendScintilla(SCI_APPENDTEXT, uintptr_t(bytes.size()), bytes.constData());
        // A slice without a line break continues the line before it: only its own part needs runs. A slice
        // of short lines (three bytes per code unit at most) needs none.
        qsizetype longest = 0;
        bool oneLine = true;
        for (qsizetype start = 0; start <= slice.size();) {
            const qsizetype cr = slice.indexOf(u'\r', start);
            const qsizetype end = cr < 0 ? slice.size() : cr;
            longest = std::max(longest, end - start);
            oneLine = oneLine && cr < 0;
            start = end + 1;
        }
        oneLine = oneLine && !slice.contains(u'\n');
        if (quiet && (oneLine || longest * 3 > kLongLineBytes))
            measureLongLinesInShortRuns(at, at + long(bytes.size()), oneLine ? long(bytes.size()) : -1);
        from = to;
        if (turn && from < all.size() && !turn()) {
            finished = false;
            break;
        }
    }
    if (quiet)
        SendScintilla(SCI_SETMODEVENTMASK, noted);
    // Cursor and view to the start without making the editor lay out the first line to show the cursor:
    // joined into one line, that line can hold millions of characters.
    SendScintilla(SCI_SETEMPTYSELECTION, 0L);
    SendScintilla(SCI_SETFIRSTVISIBLELINE, 0L);
    SendScintilla(SCI_SETXOFFSET, 0L);
    return finished;
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
}

void NameTextEdit::loadText(const QString& crlfText)
{
    loadText(crlfText, {});
}

bool NameTextEdit::loadText(const QString& crlfText, const std::function<bool()>& turn)
{
    ++m_eventDepth;
    SendScintilla(SCI_SETUNDOCOLLECTION, 0L);
    const bool finished = fill(crlfText, turn);
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
    return QString::fromUtf8(bytes.constData(), end - start);
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

qsizetype NameTextEdit::lineOfCanonicalPosition(qsizetype position) const
{
    if (position <= 0)
        return 0;
    ensurePositionIndex();
    return SendScintilla(SCI_LINEFROMINDEXPOSITION, wParam(position), long(SC_LINECHARACTERINDEX_UTF16));
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
