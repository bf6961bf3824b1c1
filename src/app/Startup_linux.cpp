// The start on Linux: the window needs an X11 or Wayland display, which a shell without one lacks.
#include "app/Startup.h"

#include <QtGlobal>

namespace app {

QString missingDisplayReason(const QStringList& args)
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return {};
    for (const QString& arg : args)
        if (arg == QLatin1String("-platform") || arg == QLatin1String("--platform") || arg == QLatin1String("-display")
            || arg == QLatin1String("--display"))
            return {};
    if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return {};
    return QStringLiteral("Quillet braucht eine grafische Oberfläche, aber weder DISPLAY noch WAYLAND_DISPLAY ist "
                          "gesetzt.\nOhne Fenster benennt „quillet --apply NAMEN.txt VERZEICHNIS“ um; "
                          "mehr mit „quillet --help“.");
}

void attachToParentConsole() {}

}  // namespace app
