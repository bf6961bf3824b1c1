// The start on Windows: Qt chooses the platform itself; a window program writes into the console it
// was started from, when there is one.
#include "app/Startup.h"

#include <windows.h>

#include <cstdio>

namespace app {

QString missingDisplayReason(const QStringList&)
{
    return {};
}

void attachToParentConsole()
{
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
        SetConsoleOutputCP(CP_UTF8);
    }
}

}  // namespace app
