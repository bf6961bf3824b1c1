// The user's folders on a POSIX desktop; "/" is the only separator.
#include "files/PathUtils.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace files {

QString GetDesktopPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString GetStartMenuPath()
{
    // The closest a Linux desktop has: the folder of the user's menu entries, when it exists.
    const QString entries = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    return QFileInfo(entries).isDir() ? entries : QString();
}

bool isPathSeparator(QChar c)
{
    return c == QLatin1Char('/');
}

}  // namespace files
