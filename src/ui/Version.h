#pragma once
#include <QString>

namespace ui {

// The version the windows show, e.g. "2.04".
QString programVersion();

}  // namespace ui
