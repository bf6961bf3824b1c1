#pragma once
// Rules that tie a directory entry's name to its line in the name text.
#include <QString>

namespace names {

// True when the name ends in a three-character extension ("song.mp3"):
// its fourth character from the end is a dot.
bool hasThreeCharExtension(QStringView name);

// The line a scan writes for an entry: the name without a three-character
// extension, otherwise the whole name. ".abc" gives an empty line.
QStringView displayName(QStringView name);

// The final name for an entry whose line reads `line`: the line, with the
// entry's extension appended when the entry has one and the line has none.
QString applyExtensionRule(QStringView original, QStringView line);

// A line that holds nothing but blanks keeps its entry's name.
bool isBlankLine(QStringView line);

}  // namespace names
