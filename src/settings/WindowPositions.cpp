// Window positions in the settings store: the part of the store that touches windows.
#include "settings/AppDefOps.h"

#include "settings/SettingsKeys.h"

#include "ui/Twips.h"
#include "ui/Messenger.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace AppDefOps {
namespace {

// Where a window that was stored off the screen comes back (twips).
constexpr int kFoundLeft = 100;
constexpr int kFoundTop = 100;

QWidget* findWindow(const QString& name)
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows)
        if (w->objectName() == name)
            return w;
    ui::message(nullptr, QStringLiteral("FormName not found\r(AppDefOps.LoadWindowPos)"), appName());
    return nullptr;
}

// Sets a window's outer rectangle, given the size of its frame.
void applyOuterGeometry(QWidget* w, const QRect& outer, const QSize& margins)
{
    w->resize(qMax(1, outer.width() - margins.width()), qMax(1, outer.height() - margins.height()));
    w->move(outer.topLeft());
}

// A window that is not shown yet has no frame; once the window system has put one around it, the stored
// outer size is applied again so the window does not grow by its frame at every start.
class FrameFixer : public QObject {
public:
    FrameFixer(QWidget* window, const QRect& outer) : QObject(window), m_window(window), m_outer(outer)
    {
        window->installEventFilter(this);
        QTimer::singleShot(5000, this, &QObject::deleteLater);  // a window system that never reports a frame
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        const QEvent::Type t = event->type();
        if (t != QEvent::Show && t != QEvent::Move && t != QEvent::Resize && t != QEvent::Paint)
            return false;
        // The margins are known only after the frame exists, often first at the move that follows the show.
        const QSize margins = m_window->frameGeometry().size() - m_window->geometry().size();
        if (m_window->isVisible() && !margins.isNull()) {
            m_window->removeEventFilter(this);
            applyOuterGeometry(m_window, m_outer, margins);
            deleteLater();
        }
        return false;
    }

private:
    QWidget* m_window;
    QRect m_outer;
};

}  // namespace

void SaveWindowPos(const QString& windowName)
{
    QWidget* w = findWindow(windowName);
    if (!w)
        return;
    if (w->isMinimized())
        return;  // keep the previous record rather than an icon's bounds
    const QRect outer = w->frameGeometry();
    using namespace settings::keys;
    const QString section = settings::windowPositionSection(windowName);
    SaveAppSetting(section, QLatin1String(kWindowHeight), twips::fromPixels(outer.height()));
    SaveAppSetting(section, QLatin1String(kWindowWidth), twips::fromPixels(outer.width()));
    SaveAppSetting(section, QLatin1String(kWindowTop), twips::fromPixels(outer.top()));
    SaveAppSetting(section, QLatin1String(kWindowLeft), twips::fromPixels(outer.left()));
}

void LoadWindowPos(const QString& windowName)
{
    QWidget* w = findWindow(windowName);
    if (!w)
        return;
    const QString section = settings::windowPositionSection(windowName);
    const QRect outer = w->frameGeometry();
    const QSize margins = outer.size() - w->geometry().size();
    int height = twips::fromPixels(outer.height());
    int width = twips::fromPixels(outer.width());
    int top = twips::fromPixels(outer.top());
    int left = twips::fromPixels(outer.left());
    auto read = [&](const char* key, int& target) {
        const QString text = GetAppSetting(section, QString::fromLatin1(key)).toString().trimmed();
        bool ok = false;
        const int value = text.toInt(&ok);
        if (!text.isEmpty() && ok)
            target = value;  // a text that is no number leaves this one property alone
    };
    read(settings::keys::kWindowHeight, height);
    read(settings::keys::kWindowWidth, width);
    read(settings::keys::kWindowTop, top);
    read(settings::keys::kWindowLeft, left);

    int screenWidth = 0;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        screenWidth = twips::fromPixels(screen->virtualGeometry().right() + 1);
    const bool lost = top + height < 0 || left + width < 0 || left > screenWidth;
    if (lost) {
        left = kFoundLeft;
        top = kFoundTop;
    }
    // The rule decides the final rectangle, so the frame fix-up below cannot take the window off screen again.
    const QRect wanted(twips::toPixels(left), twips::toPixels(top), twips::toPixels(width), twips::toPixels(height));
    applyOuterGeometry(w, wanted, margins);
    if (!w->isVisible())
        new FrameFixer(w, wanted);
    if (lost)
        w->show();
}

}  // namespace AppDefOps
