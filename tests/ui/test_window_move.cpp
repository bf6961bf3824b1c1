#include "ui/WindowMove.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFrame>
#include <QPushButton>
#include <QTest>

namespace {

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

    QWidget window;
    QFrame* frame = nullptr;
    QPushButton* button = nullptr;
    ui::WindowMoveHandles handles;
    QPoint start;
};

TEST_F(WindowMoveTest, OnlyALeftPressOnAHandleMovesTheWindow)
{
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    testsupport::mouseDrag(button, QPoint(5, 5), QPoint(2, 1));
    testsupport::mouseDrag(frame, QPoint(150, 60), QPoint(40, 25), Qt::RightButton);
    testsupport::mouseDrag(&window, QPoint(250, 150), QPoint(40, 25));  // not a handle
    EXPECT_TRUE(window.pos() == start && clicks == 1);

    // Without a window manager the window system cannot move it, so the window follows the mouse itself.
    if (ui::startWindowMove(frame))
        GTEST_SKIP() << "the window system moves the window";
    testsupport::mouseDrag(frame, QPoint(150, 60), QPoint(40, 25));
    EXPECT_EQ(window.pos(), start + QPoint(40, 25));
}

}  // namespace
