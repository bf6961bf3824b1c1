// The mounted volumes of a POSIX system; "/" always among them.
#include "ui/DriveList.h"

#include <QStorageInfo>

#include <algorithm>

namespace ui {

Qt::CaseSensitivity DriveList::pathCase()
{
    return Qt::CaseSensitive;
}

QStringList DriveList::driveRoots()
{
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString root = volume.rootPath();
        if (isUserVolume(root) && !roots.contains(root))
            roots << root;
    }
    if (!roots.contains(QStringLiteral("/")))
        roots.prepend(QStringLiteral("/"));
    std::sort(roots.begin(), roots.end());
    return roots;
}

}  // namespace ui
