#pragma once
// Replace procedures shared by the name text tools.
//
// The three procedures in the global namespace are exact: the search-and-replace
// tools, word capitalising and the CD prefix depend on their results character
// for character, including where a replacement skips the next character (see
// each procedure). Everything runs in time linear in the text length.
#include <QString>
#include <QStringView>
#include <QtGlobal>

// Replaces every occurrence of `find` by `replacement` and returns the result.
// After an inserted replacement the search resumes one character further on,
// so an occurrence that starts directly behind it stays: ("aa", "a", "b") -> "ba".
// Without matchCase both sides are compared in upper case. An empty `find`
// leaves the text as it is.
QString ReplaceText(const QString& text, const QString& find, const QString& replacement, bool matchCase);

// Replace with a one-character placeholder: a placeholder in `find` matches
// any one character (a line-break character too); in `replacement` it keeps the
// text's own character at that position. Characters are counted as code
// points, so a placeholder never takes half of a surrogate pair.
QString ReplaceWithPlaceholder(const QString& text, const QString& find, const QString& replacement,
                               const QString& placeholder, bool matchCase);

// One candidate of ReplaceWithPlaceholder: `segment` against `find` (already
// upper case when !matchCase), with `following` the characters behind the
// segment that a longer replacement may take in. Returns what replaces
// segment + following; segment + following unchanged when it does not match.
QString MatchSegment(const QString& segment, const QString& find, const QString& replacement,
                     const QString& placeholder, const QString& following, bool matchCase);

namespace transforms {

// Case mapping character by character: the result always has the input's
// length ("ß" stays "ß"). A surrogate pair is mapped as one code point when
// its mapping is again a pair; nothing else is ever split or merged.
QString upperSameLength(QStringView s);
QString lowerSameLength(QStringView s);

// "^P" or "^p" in a search or replacement box stands for CR LF. A mark that
// directly follows a converted one stays as typed ("^P^P" -> CR LF "^P").
QString expandLineBreakMarks(const QString& boxText);

struct PlainReplaceResult {
    QString text;
    qint64 count = 0;
};

// The search-and-replace command's own replace: every non-overlapping
// occurrence, the search resuming right behind the inserted replacement
// (which is never searched again). Consecutive occurrences with an empty
// replacement are all removed: ("aab", "a", "") -> "b", count 2.
PlainReplaceResult replaceAllPlain(const QString& text, const QString& find, const QString& replacement,
                                   bool matchCase);

}  // namespace transforms
