#pragma once
// What the start of the program needs from the platform.
#include <QString>
#include <QStringList>

namespace app {

// The program's name, maker and version, which also name its data folder (where its journals are).
void setIdentity();

// On Linux, when no platform plugin was chosen (QT_QPA_PLATFORM unset and no -platform
// argument), no -display argument was given and neither DISPLAY nor WAYLAND_DISPLAY is set: the German reason why no window can
// open. Empty everywhere else, where Qt chooses its platform itself.
QString missingDisplayReason(const QStringList& args);

// A program built as a window program (Windows) has no console of its own; help, version and
// the batch mode write into the console it was started from. Does nothing elsewhere.
void attachToParentConsole();

}  // namespace app
