#include "ui/WindowMove.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFrame>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

namespace {

// Mouse events through the window, as the window system delivers them.
void mouse(QWidget* widget, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons held)
{
    const QPointF global = widget->mapToGlobal(QPointF(local));
    QMouseEvent e(type, QPointF(local), global, button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &e);
}

class WindowMoveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.setGeometry(100, 100, 300, 200);
        frame = new QFrame(&window);
        frame->setGeometry(10, 10, 200, 100);
        button = new QPushButton(QStringLiteral("Go"), frame);
        button->setGeometry(20, 20, 60, 25);
        handles.addHandle(frame);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        start = window.pos();
    }
    void dragFrom(QWidget* w, QPoint from, QPoint by, Qt::MouseButton button = Qt::LeftButton)
    {
        mouse(w, QEvent::MouseButtonPress, from, button, button);
        mouse(w, QEvent::MouseMove, from + by, Qt::NoButton, button);
        mouse(w, QEvent::MouseButtonRelease, from + by, button, Qt::NoButton);
    }

    QWidget window;
    QFrame* frame = nullptr;
    QPushButton* button = nullptr;
    ui::WindowMoveHandles handles;
    QPoint start;
};

TEST_F(WindowMoveTest, PressOnAHandleMovesTheWindow)
{
    // Without a window manager the window system cannot move it, so the window follows the mouse itself.
    if (ui::startWindowMove(frame))
        GTEST_SKIP() << "the window system moves the window";
    dragFrom(frame, QPoint(150, 60), QPoint(40, 25));
    EXPECT_EQ(window.pos(), start + QPoint(40, 25));
}

TEST_F(WindowMoveTest, PressOnAControlOrWithAnotherButtonDoesNotMove)
{
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    dragFrom(button, QPoint(5, 5), QPoint(2, 1));
    dragFrom(frame, QPoint(150, 60), QPoint(40, 25), Qt::RightButton);
    dragFrom(&window, QPoint(250, 150), QPoint(40, 25));  // not a handle
    EXPECT_EQ(window.pos(), start);
    EXPECT_EQ(clicks, 1);
}

}  // namespace
