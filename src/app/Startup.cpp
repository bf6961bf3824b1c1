#include "app/Startup.h"

#include "quillet_version.h"

#include <QCoreApplication>

namespace app {

void setIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quillet"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quillet"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLET_VERSION));
}

}  // namespace app
