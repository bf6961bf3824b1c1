#pragma once
// The program's version text, shown in the chooser's caption, the main window and the update question.
#include <QString>

namespace web {

QString GetVersion();

}  // namespace web
