#include "web/Version.h"

namespace web {

QString GetVersion()
{
    return QStringLiteral("2.04");
}

}  // namespace web
