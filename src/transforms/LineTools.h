#pragma once
// Line-by-line tools of the name text (lines separated by CR LF, none after
// the last line): append, cut, trim, numbering, capitalising, CD prefix.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>
#include <optional>

namespace transforms {

// Puts `add` in front of (left) or behind every line. The line walk treats a
// text ending in CR LF as having a further, empty last line, which gets `add`
// too. An empty text or an empty `add` leaves the text unchanged.
QString appendToLines(const QString& text, const QString& add, bool left);

// The cut count as typed: a decimal number with "," or "." as separator,
// rounded down. Not a number, or less than 1 after rounding: nullopt.
std::optional<qint64> parseCutCount(const QString& s);

// Removes n characters (code points, so an emoji is never split) from the
// start or the end of every line longer than n. Shorter lines stay.
QString cutLines(const QString& text, qint64 n, bool fromLeft);

// Every line without its leading and trailing blanks (' ' only).
QString trimLineBlanks(const QString& text);

// Characters of a number prefix with its "-": 3 ("07-"), or 4 ("007-") when the list has 100 entries or more.
qsizetype numberWidth(qint64 c);

// The prefix of line k (k >= 1) when the list has c entries: "07-", or
// "007-" when c > 99; numbers of 100 and more are not padded.
QString numberText(qint64 k, qint64 c);

// Puts the prefixes of lines 1..c in front of the lines. Leading blanks of
// lines 2..c and the blanks at the very end of the text are dropped (when at
// least line 2 is numbered). Stops at the last line when there are fewer
// than c lines. `progress` is called before each line from the second on.
QString numberLines(const QString& text, qint64 c,
                    const std::function<void(qint64 done, qint64 total)>& progress = {});

// True when lines 2..c (as far as they exist) have "-" as their N-th
// character, N = 3, or 4 when c > 99. Line 1 is not checked.
bool numberingLooksRight(const QString& text, qint64 c);

// Cuts N characters (see numberingLooksRight) from lines 1..c, never more
// than a line has. When line 2 exists and c >= 2, leading blanks of the
// handled lines and the blanks at the very end of the text go as well.
QString removeNumbers(const QString& text, qint64 c,
                      const std::function<void(qint64 done, qint64 total)>& progress = {});

struct CapitaliseResult {
    QString text;
    bool overflow = false;
};

// Upper-cases the first character of the text and of every word (after CR LF,
// blank, ".", "-", "_", "[", "<", ";", "=", "(", "&", "#"), then fixes
// "Cd", "[Hb]", "[Hs]" at line starts and "Mp3", "Dvd" anywhere. A text that
// is empty or made of one separator repeated overflows: the result is then
// the input with only its first character upper-cased.
CapitaliseResult capitaliseWords(const QString& text);

// Umlaut and special character table: character(s), plain replacement.
// Rows 0-6 are the umlauts the restore direction turns back.
const QList<QPair<QString, QString>>& umlautTable();

// The CD prefix button: the prefix goes into an empty box, replaces the first
// list entry that occurs in the box, or is put in front of the box's text.
QString addCdPrefix(const QString& boxText, const QStringList& comboEntries, const QString& comboText);

}  // namespace transforms
