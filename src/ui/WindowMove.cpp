#include "ui/WindowMove.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace ui {

bool startWindowMove(QWidget* widget)
{
    QWidget* window = widget ? widget->window() : nullptr;
    QWindow* handle = window ? window->windowHandle() : nullptr;
    return handle && handle->startSystemMove();
}

void WindowMoveHandles::addHandle(QWidget* handle)
{
    handle->installEventFilter(this);
}

bool WindowMoveHandles::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return QObject::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    auto* handle = qobject_cast<QWidget*>(watched);
    if (!handle)
        return false;

    if (type == QEvent::MouseButtonPress) {
        if (mouse->button() != Qt::LeftButton)
            return false;
        if (startWindowMove(handle))
            return true;
        m_following = handle->window();
        m_pressGlobal = mouse->globalPosition().toPoint();
        m_windowAtPress = m_following->pos();
        return true;
    }
    if (!m_following)
        return false;
    if (type == QEvent::MouseMove && (mouse->buttons() & Qt::LeftButton)) {
        m_following->move(m_windowAtPress + mouse->globalPosition().toPoint() - m_pressGlobal);
        return true;
    }
    if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
        m_following = nullptr;
        return true;
    }
    return false;
}

}  // namespace ui
