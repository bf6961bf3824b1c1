#include "mainwindow/DroppedPath.h"

#include <QDir>
#include <QFileInfo>

namespace dropping {

QString directoryToOpen(const QString& path)
{
    if (path.isEmpty())
        return QString();
    const QFileInfo info(QDir::cleanPath(QDir::fromNativeSeparators(path)));
    const QString absolute = QDir::cleanPath(info.absoluteFilePath());
    if (QFileInfo(absolute).isDir())
        return absolute;
    // absolutePath keeps the root's slash ("/", "C:/") where a cut at the last separator would lose it.
    const QString parent = QDir::cleanPath(QFileInfo(absolute).absolutePath());
    return QFileInfo(parent).isDir() ? parent : QString();
}

}  // namespace dropping
