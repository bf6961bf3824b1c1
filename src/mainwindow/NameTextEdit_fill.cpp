// Filling the box, and the short runs that keep a long line quick to lay out.
#include "mainwindow/NameTextEdit.h"

#include "names/FreedMemory.h"
#include "names/NameRules.h"
#include "names/NameText.h"

#include <QAccessible>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace {

// Lines longer than this (all names joined into one, say) are measured in short runs; see
// measureLongLinesInShortRuns. A line of one name never comes near it.
constexpr long kLongLineBytes = 4096;
// Two styles that look the same; a long line alternates between them, a run holding up to this many
// ASCII characters (more would make too many different runs for the editor to keep their widths).
constexpr int kAsciiPerRun = 3;
// The name text goes into the box in slices of about this many UTF-16 code units (some 20,000 lines). Each
// slice of a tool command's text is a step that undo and redo replay, with the restyling of a long line.
constexpr qsizetype kFillSliceUnits = qsizetype(1) << 19;
// The names of a listing go in smaller slices: a load is no step of the undo history, and the memory of a
// slice adds to the load's peak.
constexpr qsizetype kLoadSliceUnits = qsizetype(1) << 17;
// Characters either side of a change of a long line that get new runs with it.
constexpr long kRestyledAround = 16;

qsizetype utf8Size(QStringView text)
{
    qsizetype bytes = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        bytes += u < 0x80 ? 1 : (u < 0x800 || QChar::isSurrogate(u)) ? 2 : 3;  // a pair: 2 + 2
    }
    return bytes;
}

// The memory the editor's buffers will take, touched page by page in pieces with `turn` between them, then
// given back for the editor to take: a system hands out memory at its first touch, page by page, and the
// editor zeroes both of its buffers at once, which for a million names would hold up the window for
// longer than all the slices of the fill together. False when `turn` asked to stop.
bool touchInPieces(size_t bytes, const std::function<bool()>& turn)
{
    constexpr size_t kPiece = size_t(8) << 20;
    constexpr size_t kPage = 4096;
    std::unique_ptr<char[]> memory(new (std::nothrow) char[bytes]);
    if (!memory)
        return true;  // the editor will say so itself when it cannot have the memory
    for (size_t from = 0; from < bytes; from += kPiece) {
        for (size_t at = from; at < std::min(bytes, from + kPiece); at += kPage)
            static_cast<volatile char*>(memory.get())[at] = 0;
        if (!turn())
            return false;
    }
    return true;
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

void NameTextEdit::replaceAll(const QString& crlfText)
{
    // A tool command usually comes after another: room to grow lets the next text of about the same size
    // go into this one's memory.
    fill(crlfText, {}, true);
}

// Slices of a text that end after a line break or, in a line longer than a slice, before a character
// that is not a CR and not the second half of a pair: each converts on its own.
bool NameTextEdit::fill(const QString& crlfText, const std::function<bool()>& turn, bool roomToGrow)
{
    const QStringView all(crlfText);
    qsizetype from = 0;
    return fill(utf8Size(all), [&] {
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
        from = to;
        return slice;
    }, turn, roomToGrow);
}

bool NameTextEdit::loadNames(const names::NameColumn& entryNames, const std::function<bool()>& turn)
{
    // A copy of the list (a reference more, no names copied) for the pieces: between two slices the event
    // loop runs, and whatever the caller's list becomes meanwhile, these names go in.
    const names::NameColumn kept = entryNames;
    qsizetype bytes = kept.isEmpty() ? 0 : 2 * (kept.size() - 1);
    for (QStringView name : kept)
        bytes += utf8Size(names::displayName(name));
    names::NameTextPieces pieces(kept, kLoadSliceUnits);
    return load([&] { return fill(bytes, [&] { return pieces.next(); }, turn, false); });
}

bool NameTextEdit::holdsNames(const names::NameColumn& entryNames) const
{
    const long length = SendScintilla(SCI_GETLENGTH);
    const auto* bytes = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    names::NameTextPieces pieces(entryNames, kLoadSliceUnits);
    long at = 0;
    for (QStringView piece = pieces.next(); !piece.isEmpty(); piece = pieces.next()) {
        const long size = long(utf8Size(piece));
        if (length - at < size || !QAnyStringView::equal(QUtf8StringView(bytes + at, size), piece))
            return false;
        at += size;
    }
    return at == length;
}

// Empties the box and adds the text in slices, each converted on its own: no UTF-8 copy of the whole
// text, and a turn of the event loop between slices when asked for.
bool NameTextEdit::fill(qsizetype utf8Bytes, const std::function<QStringView()>& nextSlice,
                        const std::function<bool()>& turn, bool roomToGrow)
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
    // Room for the whole text at once, or the editor would grow its buffers slice by slice; and two bytes
    // more, as the editor copies its whole buffer into a larger one when a reader asks for it with less
    // than two bytes of room left. An eighth more when asked for room to grow.
    const long room = long(utf8Bytes) + (roomToGrow ? long(utf8Bytes / 8) : 0L) + 2;
    // A page more than both: where the touched memory lies between blocks in use, both buffers and the
    // allocator's headers must fit into it, or the second buffer comes from untouched memory.
    bool finished = !turn || utf8Bytes <= kFillSliceUnits || touchInPieces(2 * size_t(room) + 4096, turn);
    if (finished)
        SendScintilla(SCI_ALLOCATE, room);
    QStringView slice = finished ? nextSlice() : QStringView();
    while (!slice.isEmpty()) {
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
        slice = nextSlice();
        if (turn && !slice.isEmpty() && !turn()) {
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
