// The start on POSIX systems other than Linux: Qt chooses the platform itself, and a program has the
// console it was started from.
#include "app/Startup.h"

namespace app {

QString missingDisplayReason(const QStringList&)
{
    return {};
}

void attachToParentConsole() {}

}  // namespace app
