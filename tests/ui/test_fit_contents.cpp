#include "ui/FitContents.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

class FitChildrenTest : public ::testing::Test {
protected:
    template <class T, class... Args>
    T* at(QRect place, Args... args)
    {
        T* w = new T(args..., &frame);
        w->setGeometry(place);
        return w;
    }
    QGroupBox frame;  // two rows as in a tool frame: a text box and a button, a text box, a check box and a button
    QLineEdit* text = at<QLineEdit>(QRect(8, 18, 100, 20));
    QPushButton* button = at<QPushButton>(QRect(112, 17, 76, 22), QStringLiteral("E&rsetzen"));
    QLineEdit* box = at<QLineEdit>(QRect(8, 41, 100, 20));
    QCheckBox* check = at<QCheckBox>(QRect(112, 43, 20, 18), QStringLiteral("mach &case"));
    QPushButton* after = at<QPushButton>(QRect(140, 43, 20, 18), QStringLiteral(">"));
};

TEST_F(FitChildrenTest, ClippedCaptionsWidenAndPushTheirRow)
{
    frame.setGeometry(0, 0, 200, 65);
    const int checkGrowth = check->minimumSizeHint().width() - 20;
    ASSERT_GT(checkGrowth, 0);
    const int needed = ui::fitChildren(&frame);

    EXPECT_GE(check->width(), check->minimumSizeHint().width());
    EXPECT_EQ(after->x(), 140 + checkGrowth);  // same row, right of the widened box
    EXPECT_EQ(button->x(), 112);               // the row above keeps its places
    EXPECT_EQ(text->geometry(), QRect(8, 18, 100, 20));  // text boxes are not stretched to their hint
    const int rightMargin = 200 - (112 + 76);  // what the frame kept right of its widest row
    EXPECT_EQ(needed, std::max(after->geometry().right(), button->geometry().right()) + 1 + rightMargin);
    EXPECT_EQ(frame.width(), 200);
}

}  // namespace
