#include "textmode/PathUtils.h"

#include <QFileInfo>
#include <QStandardPaths>

#ifdef _WIN32
#include <QSettings>
#endif

namespace textmode {

namespace {

#ifdef _WIN32
// The folders as the user's shell stores them, with the profile variable expanded.
QString shellFolder(const QString& valueName)
{
    const QSettings folders(QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"),
                            QSettings::NativeFormat);
    const QString stored = folders.value(valueName).toString();
    return replaceall(stored, QStringLiteral("%USERPROFILE%"), qEnvironmentVariable("USERPROFILE"));
}
#endif

}  // namespace

QString GetDesktopPath()
{
#ifdef _WIN32
    const QString stored = shellFolder(QStringLiteral("Desktop"));
    if (!stored.isEmpty())
        return stored;
#endif
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString GetStartMenuPath()
{
#ifdef _WIN32
    return shellFolder(QStringLiteral("Start Menu"));
#else
    // The closest a Linux desktop has: the folder of the user's menu entries, when it exists.
    const QString entries = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    return QFileInfo(entries).isDir() ? entries : QString();
#endif
}

QString replaceall(const QString& SearchString, const QString& findstring, const QString& ReplaceString)
{
    if (findstring.isEmpty())
        return SearchString;
    // One pass over the original text: the search resumes one character past each replaced occurrence.
    QString result;
    result.reserve(SearchString.size());
    qsizetype copiedUpTo = 0;
    qsizetype searchFrom = 0;
    for (;;) {
        const qsizetype found = SearchString.indexOf(findstring, searchFrom);
        if (found < 0)
            break;
        result += QStringView(SearchString).mid(copiedUpTo, found - copiedUpTo);
        result += ReplaceString;
        copiedUpTo = found + findstring.size();
        searchFrom = copiedUpTo + 1;
    }
    result += QStringView(SearchString).mid(copiedUpTo);
    return result;
}

bool FileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool isPathSeparator(QChar c)
{
#ifdef _WIN32
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
#else
    return c == QLatin1Char('/');
#endif
}

QString BuildPath(const QString& folder, const QString& fileName)
{
    if (folder.isEmpty())
        return fileName;
    if (isPathSeparator(folder.back()))
        return folder + fileName;
    return folder + QLatin1Char('/') + fileName;
}

QString GetExtensionFilter(const QString& fileName)
{
    for (qsizetype i = fileName.size() - 1; i >= 0; --i) {
        const QChar c = fileName.at(i);
        if (c == QLatin1Char('.') || c == QLatin1Char('\\') || c == QLatin1Char('/'))
            return QStringLiteral("*.") + fileName.mid(i + 1);
    }
    return QString();
}

QString GetLastPathComponent(const QString& path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        const QChar c = path.at(i);
        if (c == QLatin1Char('\\') || c == QLatin1Char('/'))
            return path.mid(i + 1);
    }
    return QString();
}

}  // namespace textmode
