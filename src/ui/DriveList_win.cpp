// The drives of Windows, by their letters.
#include "ui/DriveList.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace ui {

Qt::CaseSensitivity DriveList::pathCase()
{
    return Qt::CaseInsensitive;
}

QStringList DriveList::driveRoots()
{
    QStringList roots;
    for (const QFileInfo& drive : QDir::drives())
        roots << drive.absolutePath();
    std::sort(roots.begin(), roots.end());
    return roots;
}

}  // namespace ui
