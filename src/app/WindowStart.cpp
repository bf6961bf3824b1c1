#include "app/WindowStart.h"

#include "mainwindow/Form1.h"
#include "ui/Messenger.h"
#include "ui/RenameMessages.h"

#include <QDir>
#include <QFileInfo>

namespace app {

void openWindow(Form1& window, const QString& startPath)
{
    QString path = startPath;
    // A mistyped path would otherwise open the folder around it, or the current one, without a word.
    if (!path.isEmpty() && !QFileInfo::exists(path)) {
        const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
        ui::message(nullptr,
                    QStringLiteral("„%1“ gibt es nicht.\nBitte wählen Sie ein Verzeichnis aus.").arg(ui::visible(shown)),
                    QString(), ui::Buttons::Ok, ui::Icon::Information);
        path.clear();
    }
    window.Form_Load(path);
    if (!window.isVisible())
        window.show();
}

}  // namespace app
