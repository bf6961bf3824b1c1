#include "ui/DriveList.h"

#include <QDir>
#include <QFileInfo>

namespace ui {

namespace {

bool isOrUnder(const QString& path, QLatin1StringView top)
{
    return path == top || (path.startsWith(top) && path.size() > top.size() && path.at(top.size()) == QLatin1Char('/'));
}

QString withSlash(const QString& root)
{
    return root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
}

}  // namespace

DriveList::DriveList(QWidget* parent) : QComboBox(parent)
{
    addItems(driveRoots());
    connect(this, &QComboBox::activated, this, [this](int index) {
        const QString root = itemText(index);
        if (QFileInfo(root).isDir())  // a drive that is not ready leaves the lists where they were
            Q_EMIT driveChosen(root);
    });
}

bool DriveList::isUserVolume(const QString& root)
{
    if (isOrUnder(root, QLatin1StringView("/proc")) || isOrUnder(root, QLatin1StringView("/sys")) ||
        isOrUnder(root, QLatin1StringView("/dev")))
        return false;
    // Under /run only the removable media the desktop mounts for the user.
    if (isOrUnder(root, QLatin1StringView("/run")))
        return isOrUnder(root, QLatin1StringView("/run/media")) && root != QLatin1String("/run/media");
    return true;
}

QString DriveList::selectFor(const QString& path)
{
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(path));
    int best = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemText(i);
        const bool holds = clean.compare(root, pathCase()) == 0 ||
                           clean.startsWith(withSlash(root), pathCase()) ||
                           root == QLatin1String("/");
        if (holds && (best < 0 || root.size() > itemText(best).size()))
            best = i;
    }
    if (best >= 0)
        setCurrentIndex(best);
    return best >= 0 ? itemText(best) : QString();
}

}  // namespace ui
