#include "ui/Version.h"

#include "quillet_version.h"

namespace ui {

QString programVersion()
{
    return QStringLiteral(QUILLET_VERSION);
}

}  // namespace ui
