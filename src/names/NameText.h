#pragma once
// The name text: one new name per line, lines separated by CR LF, no line end after the last line.
#include "names/NameColumn.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace names {

inline const QString kCrLf = QStringLiteral("\r\n");

// 1 plus the number of CR LF pairs; an empty text counts as one line.
qsizetype lineCount(QStringView text);

// The display names of the entries, in order, joined by CR LF.
QString buildNameText(const NameColumn& entryNames);

// The name text of `entryNames` in pieces of whole lines, each about `units` code units long and ending
// with the CR LF before the next line: for work on a large list that need not hold the whole text at once.
class NameTextPieces {
public:
    NameTextPieces(const NameColumn& entryNames, qsizetype units);
    // The next piece, valid until the next call; empty when the text is through.
    QStringView next();

private:
    const NameColumn m_names;  // shared, not copied
    qsizetype m_units;
    qsizetype m_next = 0;
    QString m_piece;
};

// Whether `text` is the name text of `entryNames`, without making that text.
bool isNameText(const NameColumn& entryNames, QStringView text);

// The line (without line-break characters) that contains position pos.
QString lineAround(QStringView text, qsizetype pos);

// The eight characters a name may not contain, in the order they are searched for.
inline constexpr char16_t kInvalidNameCharacters[] = {u'\\', u'/', u'*', u'?', u'<', u'>', u'|', u'"'};
bool isInvalidNameCharacter(QChar c);

struct InvalidCharacter {
    qsizetype line = -1;  // from 0
    QString lineText;     // the whole line, without its line break
    bool found() const { return line >= 0; }
};
// The line of the first occurrence of the first of the eight characters that occurs at all.
InvalidCharacter firstInvalidCharacter(QStringView text);

// A line as the duplicate check compares it: without leading and trailing blanks. Empty: not compared.
QStringView duplicateKey(QStringView line);

// `text` with its first line equal to `line` (as a whole line) replaced by `replacement`; no value
// when no line of `text` is `line`.
std::optional<QString> replaceWholeLine(const QString& text, QStringView line, QStringView replacement);


struct DuplicateLines {
    // Indexes (from 0) into the compared lines: non-blank lines without leading and trailing blanks.
    qsizetype first = -1;
    qsizetype second = -1;
    QString line;
    bool found() const { return first >= 0; }
};

// The first line that has an equal line after it (compared without leading and trailing blanks, blank
// lines left out), with the first such later line.
DuplicateLines findDuplicateLines(QStringView text);
// The lines that check compares, in order.
QStringList duplicateCheckLines(QStringView text);

}  // namespace names
