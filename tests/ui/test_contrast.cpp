// Readable colours: the contrast arithmetic, and the pastel tool boxes in a light and a dark palette.
#include "ui/Contrast.h"
#include "ui/Widgets.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QStyle>
#include <QTest>
#include <QVBoxLayout>

namespace {

using namespace ui::contrast;

// The tool boxes' colours: light red, light green, light yellow.
const QList<QColor> kToolColours{QColor(0xFF, 0xC0, 0xC0), QColor(0xC0, 0xFF, 0xC0), QColor(0xFF, 0xFF, 0xC0)};

// The light palette of the Fusion style, and a dark one as desktops give it to that style.
QList<QPalette> palettes()
{
    QPalette dark;
    for (auto [role, colour] : {std::pair{QPalette::Window, QColor(0x35, 0x35, 0x35)}, {QPalette::Base, QColor(0x2a, 0x2a, 0x2a)},
                                {QPalette::Button, QColor(0x35, 0x35, 0x35)}, {QPalette::WindowText, QColor(Qt::white)},
                                {QPalette::Text, QColor(Qt::white)}, {QPalette::ButtonText, QColor(Qt::white)}})
        dark.setColor(role, colour);
    return {QApplication::style()->standardPalette(), dark};
}

TEST(Contrast, LuminanceRatioAndToolColoursInBothPalettes)
{
    EXPECT_DOUBLE_EQ(ratio(Qt::black, Qt::white), 21.0);
    // Grey 118 on white is the lightest grey that still reads; 119 fails.
    EXPECT_GE(ratio(QColor(118, 118, 118), Qt::white), kText);
    EXPECT_LT(ratio(QColor(119, 119, 119), Qt::white), kText);

    const QPalette light = palettes()[0];
    const QPalette dark = palettes()[1];
    for (const QColor& wanted : kToolColours) {
        SCOPED_TRACE(wanted.name().toStdString());
        // Kept where it reads (black text); a tint of it where it would not (white text).
        EXPECT_EQ(readableBackground(wanted, light.color(QPalette::Base), {light.color(QPalette::Text)}), wanted);
        const QColor tint = readableBackground(wanted, dark.color(QPalette::Base), {dark.color(QPalette::Text)});
        EXPECT_GE(ratio(tint, dark.color(QPalette::Text)), kText);
        EXPECT_NE(tint, dark.color(QPalette::Base));
    }
}

TEST(Contrast, ToolBoxesReadInEveryPaletteIdleAndFocused)
{
    const QPalette before = QApplication::palette();
    for (const QPalette& palette : palettes()) {
        QApplication::setPalette(palette);
        QWidget host;
        auto* layout = new QVBoxLayout(&host);
        const QList<QWidget*> boxes{new QLineEdit(&host), new QComboBox(&host)};  // the combo paints with the button colours
        for (QWidget* box : boxes) {
            ui::paintWhenIdle(box, kToolColours.last());
            layout->addWidget(box);
        }
        host.show();
        host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        for (QWidget* focused : boxes) {
            focused->setFocus();
            for (const QWidget* box : boxes) {
                SCOPED_TRACE(palette.color(QPalette::Base).name().toStdString() + (box == focused ? " focused" : " idle"));
                const QPalette p = box->palette();
                EXPECT_GE(ratio(p.color(QPalette::Base), p.color(QPalette::Text)), kText);
                EXPECT_GE(ratio(p.color(QPalette::Button), p.color(QPalette::ButtonText)), kText);
            }
        }
    }
    QApplication::setPalette(before);
}

}  // namespace
