#include "ui/Version.h"

namespace ui {

QString programVersion()
{
    return QStringLiteral("2.04");
}

}  // namespace ui
