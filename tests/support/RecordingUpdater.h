#pragma once
// A shell script standing in for the updater: it writes each argument it gets on a line of its own into
// "args.txt" beside itself, renamed into place so a reader never sees half of it.
#include "TestSupport.h"

#include <QFile>
#include <QFileSystemWatcher>
#include <QSignalSpy>

namespace testsupport {

inline const QByteArray kRecordingUpdater = "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.txt.part\"\n"
                                            "mv \"$(dirname \"$0\")/args.txt.part\" \"$(dirname \"$0\")/args.txt\"\n";

// The arguments the updater in `folder` recorded, once it has run (empty if it never ran).
inline QStringList recordedUpdaterArguments(const TempTree& folder)
{
    QFileSystemWatcher watch({folder.path()});  // set up first: a file made after the look is still seen
    QSignalSpy changed(&watch, &QFileSystemWatcher::directoryChanged);
    while (!QFile::exists(folder.file(QStringLiteral("args.txt"))) && changed.wait(5000)) {
    }
    return QString::fromUtf8(folder.read(QStringLiteral("args.txt"))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

}  // namespace testsupport
