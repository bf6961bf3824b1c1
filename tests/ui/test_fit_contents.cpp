#include "ui/FitContents.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

class FitChildrenTest : public ::testing::Test {
protected:
    FitChildrenTest()
    {
        frame.setGeometry(0, 0, 200, 65);
        text = new QLineEdit(&frame);
        text->setGeometry(8, 18, 100, 20);
        button = new QPushButton(QStringLiteral("E&rsetzen"), &frame);
        button->setGeometry(112, 17, 76, 22);
        box = new QLineEdit(&frame);
        box->setGeometry(8, 41, 100, 20);
        check = new QCheckBox(QStringLiteral("mach &case"), &frame);
        check->setGeometry(112, 43, 20, 18);
        after = new QPushButton(QStringLiteral(">"), &frame);
        after->setGeometry(140, 43, 20, 18);
    }
    QGroupBox frame;
    QLineEdit* text;
    QPushButton* button;
    QLineEdit* box;
    QCheckBox* check;
    QPushButton* after;
};

TEST_F(FitChildrenTest, ClippedCaptionsWidenAndPushTheirRow)
{
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

TEST_F(FitChildrenTest, ALongTitleDecidesTheWidth)
{
    check->setText(QString());
    after->hide();
    frame.setTitle(QStringLiteral("Suchen && Ersetzen ('*' = Platzhalter) und noch viel mehr Text"));
    const int needed = ui::fitChildren(&frame);
    EXPECT_GE(needed, frame.fontMetrics().horizontalAdvance(QStringLiteral("Suchen & Ersetzen ('*' = Platzhalter) und noch viel mehr Text")));
    EXPECT_EQ(check->width(), std::max(20, check->minimumSizeHint().width()));
}

}  // namespace
