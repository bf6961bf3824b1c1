#pragma once
// The folder the directory chooser showed last; the file dialogs start there.
#include <QString>

namespace ui {

// The last folder set, or the process's current directory before any was set.
QString lastFolder();
void setLastFolder(const QString& folder);

}  // namespace ui
