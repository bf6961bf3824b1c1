#pragma once
// The update: make sure the updater is beside the program, start it with the newest program's address
// and end, so that it can replace the program file.
#include "web/Download.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace ui {
class Messenger;
}

namespace web {

inline const QString kLocalUpdaterName = QStringLiteral("Update.exe");

// The updater's command line: the updater file, " [URL]" and the address, " [PATH]" and the file to update,
// with no quotes added.
struct UpdaterCommand {
    QString program;
    QString arguments;         // "[URL]<address> [PATH]<file>", as one native command line tail
    QStringList argumentList;  // the same two arguments, each whole, for platforms that pass a list
};

UpdaterCommand updaterCommand(const QString& LocalUpdaterEXE, const QString& URLFileToDownload, const QString& LocalFileToUpdate);

// Relative names count from `baseDir`. Refuses where the folder is not the user's own or the program runs
// as root, offering the homepage instead. Downloads the updater when it is missing, starts it and, once it runs,
// ends the program at once through the messenger. True when the updater was started.
bool DownloadUpdateWithUpdater(QWidget* parent, ui::Messenger& messenger, const QString& baseDir,
                               const QString& URLFileToDownload, const QString& LocalFileToUpdate,
                               const QString& LocalUpdaterEXE, const QString& URLUpdaterEXE,
                               const DownloadOptions& options = {});

// The update check of the main window: asks first, then updates from the program's own folder; where that
// is refused, says so in place of the question.
// `programDir` and `programFile` default to the running program's.
void Download_Click(QWidget* parent, ui::Messenger& messenger, const QString& programDir = QString(),
                    const QString& programFile = QString());

}  // namespace web
