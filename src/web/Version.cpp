#include "web/Version.h"

#include "ui/Version.h"

namespace web {

QString GetVersion()
{
    return ui::programVersion();
}

}  // namespace web
