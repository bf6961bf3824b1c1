#include "files/PathUtils.h"

#include <QFileInfo>

namespace files {

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

}  // namespace files
