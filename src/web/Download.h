#pragma once
// Downloads a web address into a local file behind a modal progress: the windows stay painted but take no input.
#include <QString>

#include <chrono>

namespace web {

// What to do when the target file exists.
enum OverwriteMode : int {
    FreeName = 0,      // save under the next free name: "song (2).mp3", "song (3).mp3", ...
    KeepExisting = 1,  // leave the existing file and fail
    Replace = 3,       // replace it (any other value than 0 and 1 does the same)
};

struct DownloadOptions {
    // The download fails when no data arrives for this long.
    std::chrono::milliseconds transferTimeout{30000};
    // A larger answer fails: far above anything this program fetches, and it keeps a hostile server from
    // filling the disk.
    qint64 maxBytes = qint64(256) * 1024 * 1024;
};

// Returns the local path of the downloaded file, or the empty text on failure. Both arguments may be
// enclosed in double quotes. A destination that is an existing folder receives the file under the last
// part of the address. Only HTTPS addresses (plain HTTP to this machine itself) are fetched, and every
// redirect must stay among them: at most 10 hops, none from HTTPS to plain HTTP. Only an HTTP success
// status counts, and the file appears only complete.
QString URLToFileDownload(const QString& URL_Source, const QString& Path_Destination, int Overwrite = FreeName,
                          const DownloadOptions& options = {});

// The text without one pair of double quotes that encloses it.
QString withoutQuotes(const QString& text);

}  // namespace web
