#include "app/Startup.h"

#include "quillet_version.h"

#include <QCoreApplication>
#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>

#include <cstdio>
#endif

namespace app {

void setIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quillet"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quillet"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLET_VERSION));
}

QString missingDisplayReason(const QStringList& args)
{
#ifdef Q_OS_LINUX
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
#else
    Q_UNUSED(args);
    return {};
#endif
}

void attachToParentConsole()
{
#ifdef Q_OS_WIN
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
        SetConsoleOutputCP(CP_UTF8);
    }
#endif
}

}  // namespace app
