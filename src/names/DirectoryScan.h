#pragma once
// Lists the entries of one directory for renaming.
#include "names/DirectoryHandle.h"
#include "names/NameColumn.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace names {

struct ListingOptions {
    bool renameDirs = true;   // also list directories
    bool onlyDirs = true;     // with renameDirs: list directories only
};

struct ScanResult {
    NameColumn names;           // sorted: case-insensitive, ties broken case-sensitively
    // What names[i] was at the scan: an inode each on the device of the listed directory (a million
    // identities in full would repeat the device a million times).
    quint64 device = 0;
    QList<quint64> inodes;
    FileIdentity identity(qsizetype i) const { return {device, inodes.at(i)}; }
    QStringList unlistable;     // entries no line can name: invalid encoding, or a line break in the name (shown escaped)
    QStringList otherNames;     // entries a line can name that the list leaves out (hidden, filtered, the sibling tool)
    qsizetype leftOutByOptions = 0;  // files (or folders) the listing options leave out
    bool leftOutAreFolders = false;  // what they leave out: folders when only files are listed
    bool stopped = false;            // the progress asked to stop: the result is empty
};

// Told now and then how many entries the scan has read; returns false to stop it. Called after every
// kScanProgressEntries entries read, once more before the sort and between its steps (in a folder of at
// least as many; what it returns then is not asked).
using ScanProgress = std::function<bool(qsizetype entriesRead)>;
constexpr qsizetype kScanProgressEntries = 4096;

// Never lists ".", "..", hidden entries, the sibling tool "peldra.exe" (any case), sockets, pipes or devices.
// A dangling symbolic link is listed like a file. A directory that cannot be read gives an empty result.
// The path is taken as it is: blanks at either end belong to the folder's name.
ScanResult scanDirectory(const QString& dirPath, const ListingOptions& options);
// The same, through a directory held open; the path it was opened with plays no part.
ScanResult scanDirectory(const DirectoryHandle& dir, const ListingOptions& options, const ScanProgress& progress = {});

// False for a name the scan never lists whatever the entry is: hidden names (".x", "." and "..")
// and the sibling tool "peldra.exe" in any letter case. An entry renamed to such a name would
// drop out of the list.
bool isListableName(const QString& name);

// Case-insensitive order; names equal but for case keep a fixed, case-sensitive order.
void sortNames(NameColumn& names);

// The start path with its separator at the end (native separators not applied).
QString withTrailingSeparator(const QString& path);

}  // namespace names
