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

QPalette lightPalette()
{
    return QApplication::style()->standardPalette();
}

// A dark palette as desktops give it to the Fusion style.
QPalette darkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::WindowText, Qt::white);
    p.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    p.setColor(QPalette::AlternateBase, QColor(0x42, 0x42, 0x42));
    p.setColor(QPalette::Text, Qt::white);
    p.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::ButtonText, Qt::white);
    p.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    p.setColor(QPalette::HighlightedText, Qt::white);
    return p;
}

TEST(Contrast, RelativeLuminanceAndRatio)
{
    EXPECT_DOUBLE_EQ(luminance(Qt::black), 0.0);
    EXPECT_DOUBLE_EQ(luminance(Qt::white), 1.0);
    EXPECT_DOUBLE_EQ(ratio(Qt::white, Qt::black), 21.0);
    EXPECT_DOUBLE_EQ(ratio(Qt::black, Qt::white), 21.0);
    // Grey 118 on white is the darkest grey that still reads; 119 is the lightest that fails.
    EXPECT_GE(ratio(QColor(118, 118, 118), Qt::white), kText);
    EXPECT_LT(ratio(QColor(119, 119, 119), Qt::white), kText);
    EXPECT_NEAR(ratio(QColor(0xFF, 0xFF, 0xC0), Qt::white), 1.03, 0.01);
}

TEST(Contrast, ToolColoursStayWhereTheyReadAndTurnToATintWhereNot)
{
    for (const QColor& wanted : kToolColours) {
        SCOPED_TRACE(wanted.name().toStdString());
        const QPalette light = lightPalette();
        const QList<QColor> lightTexts{light.color(QPalette::Text), light.color(QPalette::ButtonText)};
        EXPECT_EQ(readableBackground(wanted, light.color(QPalette::Base), lightTexts), wanted);

        const QPalette dark = darkPalette();
        const QColor base = dark.color(QPalette::Base);
        const QColor tint = readableBackground(wanted, base, {dark.color(QPalette::Text), dark.color(QPalette::ButtonText)});
        EXPECT_GE(ratio(tint, dark.color(QPalette::Text)), kText);
        EXPECT_NE(tint, base) << "keeps a tint of its colour";
    }
}

// The boxes of a tool frame, idle and focused, in both palettes.
TEST(Contrast, ToolBoxesReadInEveryPaletteIdleAndFocused)
{
    const QPalette before = QApplication::palette();
    for (const QPalette& palette : {lightPalette(), darkPalette()}) {
        QApplication::setPalette(palette);
        QWidget host;
        auto* layout = new QVBoxLayout(&host);
        QList<QWidget*> boxes;
        for (const QColor& c : kToolColours) {
            auto* edit = new QLineEdit(&host);
            edit->setText(QStringLiteral("Text"));
            ui::paintWhenIdle(edit, c);
            boxes.append(edit);
        }
        auto* combo = new QComboBox(&host);
        combo->addItem(QStringLiteral("CD1-"));
        ui::paintWhenIdle(combo, kToolColours.last());
        boxes.append(combo);
        for (QWidget* w : boxes)
            layout->addWidget(w);
        host.show();
        host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        for (QWidget* box : boxes) {
            box->setFocus();
            ASSERT_TRUE(box->hasFocus());
            for (QWidget* other : boxes) {
                SCOPED_TRACE(palette.color(QPalette::Base).name().toStdString() + (other == box ? " focused" : " idle"));
                const QPalette p = other->palette();
                EXPECT_GE(ratio(p.color(QPalette::Base), p.color(QPalette::Text)), kText);
                EXPECT_GE(ratio(p.color(QPalette::Button), p.color(QPalette::ButtonText)), kText);
            }
        }
        // The specified colours where they read.
        if (palette.color(QPalette::Text) == Qt::black) {
            boxes.last()->setFocus();
            EXPECT_EQ(boxes.first()->palette().color(QPalette::Base), kToolColours.first());
        }
    }
    QApplication::setPalette(before);
}

}  // namespace
