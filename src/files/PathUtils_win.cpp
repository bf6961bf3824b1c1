// The user's folders as the Windows shell stores them; "\\" is a separator as well as "/".
#include "files/PathUtils.h"

#include <QSettings>
#include <QStandardPaths>

namespace files {

namespace {

// The folders as the user's shell stores them, with the profile variable expanded.
QString shellFolder(const QString& valueName)
{
    const QSettings folders(QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"),
                            QSettings::NativeFormat);
    const QString stored = folders.value(valueName).toString();
    return replaceall(stored, QStringLiteral("%USERPROFILE%"), qEnvironmentVariable("USERPROFILE"));
}

}  // namespace

QString GetDesktopPath()
{
    const QString stored = shellFolder(QStringLiteral("Desktop"));
    if (!stored.isEmpty())
        return stored;
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString GetStartMenuPath()
{
    return shellFolder(QStringLiteral("Start Menu"));
}

bool isPathSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

}  // namespace files
