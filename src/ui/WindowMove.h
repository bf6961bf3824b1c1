#pragma once
// Moving a window by a press on its background instead of its title bar.
#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

namespace ui {

// Hands the window holding `widget` to the window system's own interactive move, as a press on its title bar
// would; false where the platform (or a session without a window manager) cannot.
bool startWindowMove(QWidget* widget);

// A left press on one of the handles moves their window; a press on a control inside a handle stays with
// the control. Where the window system cannot move the window, the window follows the mouse until release.
class WindowMoveHandles : public QObject {
    Q_OBJECT
public:
    explicit WindowMoveHandles(QObject* parent = nullptr) : QObject(parent) {}
    void addHandle(QWidget* handle);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_following;  // the window moved by hand, while the button is held
    QPoint m_pressGlobal;
    QPoint m_windowAtPress;
};

}  // namespace ui
