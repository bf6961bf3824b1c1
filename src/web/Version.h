#pragma once
// The version text of the update question: the one the windows show (ui::programVersion).
#include <QString>

namespace web {

QString GetVersion();

}  // namespace web
