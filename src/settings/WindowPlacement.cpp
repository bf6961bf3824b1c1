#include "settings/WindowPlacement.h"

#include <QWidget>
#include <QWindow>

namespace placement {

void setStayOnTop(QWidget* window, bool onTop)
{
    if (!window)
        return;
    // On the native window, so that the widget is not hidden and re-created as setWindowFlag would.
    window->winId();
    if (QWindow* handle = window->windowHandle())
        handle->setFlag(Qt::WindowStaysOnTopHint, onTop);
    window->activateWindow();
}

bool isStayOnTop(const QWidget* window)
{
    const QWindow* handle = window ? window->windowHandle() : nullptr;
    return handle && handle->flags().testFlag(Qt::WindowStaysOnTopHint);
}

}  // namespace placement
