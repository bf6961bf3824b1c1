#include "web/WebSite.h"

#include <QHostAddress>
#include <QUrl>

#ifndef QUILLET_WEB_BASE_DEFAULT
#error "QUILLET_WEB_BASE_DEFAULT comes from the build's QUILLET_WEB_BASE setting"
#endif

namespace web {

QString webBase()
{
    QString base = qEnvironmentVariable("QUILLET_WEB_BASE");
    if (base.isEmpty())
        base = QStringLiteral(QUILLET_WEB_BASE_DEFAULT);
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

QString newestProgramUrl()
{
    return webBase() + QStringLiteral("/Downloads/Tools/Quillet/Quillet.exe");
}

QString updaterUrl()
{
    return webBase() + QStringLiteral("/Downloads/Tesk-Updater.exe");
}

QString homepageUrl()
{
    return webBase() + QStringLiteral("/Downloads/Tools/Quillet");
}

bool isTrustedAddress(const QUrl& url)
{
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https"))
        return true;
    if (scheme != QLatin1String("http"))
        return false;
    const QString host = url.host();
    return host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback();
}

bool isTrustedHop(const QUrl& from, const QUrl& to)
{
    const bool leavesHttps = from.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0 &&
                             to.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) != 0;
    return isTrustedAddress(to) && !leavesHttps;
}

}  // namespace web
