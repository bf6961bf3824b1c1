#pragma once
// The drive list shared by the directory chooser and the file dialog: the volumes a user works on.
#include <QComboBox>
#include <QStringList>

namespace ui {

class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);

    // The roots of the mounted volumes worth showing, sorted; "/" always on Linux.
    static QStringList driveRoots();
    // False for the kernel's and the runtime's pseudo file systems; removable media under /run/media stay.
    static bool isUserVolume(const QString& root);

    // Selects the volume that holds `path` (the longest root that contains it); returns its root.
    QString selectFor(const QString& path);

private:
    // How the platform compares paths.
    static Qt::CaseSensitivity pathCase();

Q_SIGNALS:
    // The user picked a drive that is ready.
    void driveChosen(const QString& root);
};

}  // namespace ui
