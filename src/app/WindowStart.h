#pragma once
// The window's start on the path of the command line.
class Form1;
class QString;

namespace app {

// Opens `window` on `startPath` (a directory, or a file in the directory to open). A path that does not
// exist is told, and the chooser opens as on a start without a path.
void openWindow(Form1& window, const QString& startPath);

}  // namespace app
