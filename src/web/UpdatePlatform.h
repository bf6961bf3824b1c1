#pragma once
// Starting the updater, the one step of the update that differs between platforms (programFolderFacts,
// declared in UpdatePermission.h, is the other).
#include <QString>

namespace web {

struct UpdaterCommand;

// Starts the updater from `baseDir` without waiting for it; true when it runs.
bool startUpdater(const UpdaterCommand& command, const QString& baseDir);

}  // namespace web
