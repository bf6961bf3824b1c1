// The marks of NameTextEdit: indicators over lines and characters.
#include "mainwindow/NameTextEdit.h"

#include <algorithm>

namespace {

// Indicators 8 and up belong to the program; the lower ones to the editor's own lexers.
constexpr int kLineIndicator = QsciScintillaBase::INDIC_CONTAINER;
constexpr int kCharacterIndicator = QsciScintillaBase::INDIC_CONTAINER + 1;
// An empty last line has no character to draw a squiggle under: it is underlined across the box instead.
constexpr int kEmptyLineMarker = 20;
constexpr int kBoxFillAlpha = 70;
constexpr int kBoxOutlineAlpha = 255;
// A squiggle is drawn over its whole width, seen or not: over a line of all names joined into one that
// would take most of a second at every key. No name is this long, so the mark still covers every name.
constexpr long kLongestLineMark = 1024;

}  // namespace

void NameTextEdit::setMarkColour(const QColor& colour)
{
    SendScintilla(SCI_INDICSETSTYLE, kLineIndicator, INDIC_SQUIGGLE);
    SendScintilla(SCI_INDICSETFORE, kLineIndicator, colour);
    SendScintilla(SCI_INDICSETSTYLE, kCharacterIndicator, INDIC_ROUNDBOX);
    SendScintilla(SCI_INDICSETFORE, kCharacterIndicator, colour);
    SendScintilla(SCI_INDICSETALPHA, kCharacterIndicator, kBoxFillAlpha);
    SendScintilla(SCI_INDICSETOUTLINEALPHA, kCharacterIndicator, kBoxOutlineAlpha);
    // Drawn under the text, so the character in the box keeps its own colour.
    SendScintilla(SCI_INDICSETUNDER, kCharacterIndicator, 1L);
    SendScintilla(SCI_MARKERDEFINE, kEmptyLineMarker, SC_MARK_UNDERLINE);
    SendScintilla(SCI_MARKERSETBACK, kEmptyLineMarker, colour);
}

void NameTextEdit::setMarks(const QList<Mark>& marks, bool clearFirst)
{
    const long length = SendScintilla(SCI_GETLENGTH);
    const long lines = SendScintilla(SCI_GETLINECOUNT);
    for (int indicator : {kLineIndicator, kCharacterIndicator}) {
        if (!clearFirst)
            break;
        SendScintilla(SCI_SETINDICATORCURRENT, indicator);
        SendScintilla(SCI_INDICATORCLEARRANGE, 0L, length);
    }
    if (clearFirst)
        SendScintilla(SCI_MARKERDELETEALL, kEmptyLineMarker);
    // Characters of one line come in order: each is found from the one before, not from the line's start.
    qsizetype lastLine = -1;
    qsizetype lastColumn = 0;
    long lastPosition = 0;
    for (const Mark& mark : marks) {
        if (mark.line < 0 || mark.line >= lines)
            continue;
        const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, long(mark.line));
        const long lineEnd = SendScintilla(SCI_GETLINEENDPOSITION, long(mark.line));
        long from = lineStart;
        long to = lineEnd;
        if (mark.style == MarkStyle::Character) {
            if (mark.line != lastLine || mark.column < lastColumn) {
                lastLine = mark.line;
                lastColumn = 0;
                lastPosition = lineStart;
            }
            from = SendScintilla(SCI_POSITIONRELATIVECODEUNITS, static_cast<unsigned long>(lastPosition), long(mark.column - lastColumn));
            to = SendScintilla(SCI_POSITIONRELATIVECODEUNITS, static_cast<unsigned long>(from), long(mark.length));
            lastColumn = mark.column;
            lastPosition = from;
        } else if (from == to && mark.line + 1 < lines) {
            to = SendScintilla(SCI_POSITIONFROMLINE, long(mark.line + 1));  // an empty line: its line end
        } else if (from == to) {
            SendScintilla(SCI_MARKERADD, static_cast<unsigned long>(mark.line), kEmptyLineMarker);
            continue;
        } else {
            to = std::min(to, from + kLongestLineMark);
        }
        if (to <= from)
            continue;
        SendScintilla(SCI_SETINDICATORCURRENT, mark.style == MarkStyle::Character ? kCharacterIndicator : kLineIndicator);
        SendScintilla(SCI_INDICATORFILLRANGE, static_cast<unsigned long>(from), to - from);
    }
}

qsizetype NameTextEdit::lineAt(const QPoint& viewportPoint) const
{
    const long height = SendScintilla(SCI_TEXTHEIGHT, 0L);
    if (height <= 0 || viewportPoint.y() < 0)
        return -1;
    const long shown = SendScintilla(SCI_GETFIRSTVISIBLELINE) + viewportPoint.y() / height;
    const long line = SendScintilla(SCI_DOCLINEFROMVISIBLE, shown);
    return line < SendScintilla(SCI_GETLINECOUNT) ? qsizetype(line) : -1;
}

QPoint NameTextEdit::pointBelowLine(qsizetype line) const
{
    const long pos = SendScintilla(SCI_POSITIONFROMLINE, long(line));
    return {int(SendScintilla(SCI_POINTXFROMPOSITION, 0L, pos)),
            int(SendScintilla(SCI_POINTYFROMPOSITION, 0L, pos) + SendScintilla(SCI_TEXTHEIGHT, long(line)))};
}

void NameTextEdit::goToLine(qsizetype line)
{
    m_pointedAnchor = m_pointedCaret = -1;
    SendScintilla(SCI_GOTOLINE, long(line));
}
