#pragma once
// Small path procedures of the file dialog and the download: plain text in, plain text out.
#include <QString>

namespace files {

// The user's desktop and start menu folders; empty when the platform has none.
QString GetDesktopPath();
QString GetStartMenuPath();

// Replaces every exact occurrence of `findstring`, but after each replacement the character right after
// it is not searched ("aaaa" with a by b gives "baba"). An empty `findstring` changes nothing.
QString replaceall(const QString& SearchString, const QString& findstring, const QString& ReplaceString);

// True when a file or folder of that path exists (also a dangling symbolic link).
bool FileExists(const QString& path);

// An empty folder gives the name alone; a folder ending in a separator is followed directly by the name.
QString BuildPath(const QString& folder, const QString& fileName);

// "*." and what follows the last "." or separator of the name; empty when there is neither.
QString GetExtensionFilter(const QString& fileName);

// What follows the last "\" or "/"; empty when there is neither (not the name itself).
QString GetLastPathComponent(const QString& path);

// Separators the platform accepts in paths: "/" everywhere, "\" on Windows too.
bool isPathSeparator(QChar c);

}  // namespace files
