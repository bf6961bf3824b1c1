#pragma once
// Which directory a dropped (or command-line) path opens.
#include <QString>

namespace dropping {

// A directory opens itself, a file the directory that holds it (a file in the root opens the root). A path
// that no longer exists opens the directory that would hold it, when that exists. Relative paths are taken
// from the current directory. Empty when there is nothing to open, the empty path included.
QString directoryToOpen(const QString& path);

}  // namespace dropping
