#include "web/Homepage.h"

#include "ui/Messenger.h"
#include "web/WebSite.h"

#include <QDesktopServices>
#include <QUrl>

namespace web {

bool Guestbook_Click()
{
    return QDesktopServices::openUrl(QUrl(homepageUrl()));
}

void openHomepage(QWidget* parent, ui::Messenger& messenger)
{
    if (!Guestbook_Click())
        messenger.show(parent, QStringLiteral("Die Homepage konnte nicht geöffnet werden:\r\n") + homepageUrl(), QString(),
                       ui::Buttons::Ok, ui::Icon::Stop);
}

}  // namespace web
