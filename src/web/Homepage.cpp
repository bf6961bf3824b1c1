#include "web/Homepage.h"

#include "web/WebSite.h"

#include <QDesktopServices>
#include <QUrl>

namespace web {

bool Guestbook_Click()
{
    return QDesktopServices::openUrl(QUrl(homepageUrl()));
}

}  // namespace web
