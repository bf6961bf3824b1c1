#include "ui/ButtonPictures.h"
#include "ui/Contrast.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPalette>

namespace {

// Each picture with its button's size in pixels; a picture leaves 2 pixels on every side for the frame.
QList<std::pair<ui::ButtonPicture, QSize>> cases()
{
    return {{ui::showLowerToolbarPicture(), QSize(17, 33)},
            {ui::hideLowerToolbarPicture(), QSize(14, 53)},
            {ui::restoreToolbarsPicture(), QSize(58, 15)}};
}

// Each fits its button and is drawn for the pixel density; its opaque pixels stand out from a light and a
// dark button face.
TEST(ButtonPictures, FitTheirButtonsAreDrawnForThePixelDensityAndStandOut)
{
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ButtonText, Qt::white);
    for (const QPalette& palette : {light, dark}) {
        QApplication::setPalette(palette);
        const QColor face = palette.color(QPalette::Button);
        for (const auto& [picture, button] : cases()) {
            EXPECT_TRUE(picture.size.width() <= button.width() - 4 && picture.size.height() <= button.height() - 4);
            for (qreal density : {1.0, 1.5, 2.0, 4.0}) {
                // As many pixels as the screen has under the picture, not an enlarged copy of the small one.
                const QImage image = picture.icon.pixmap(picture.size, density).toImage();
                ASSERT_EQ(image.size(), picture.size * density) << density;
                int drawn = 0;
                int faint = 0;  // opaque pixels too close to the face
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x) {
                        drawn += qAlpha(image.pixel(x, y)) > 0;
                        faint += qAlpha(image.pixel(x, y)) == 255
                                 && ui::contrast::ratio(image.pixelColor(x, y), face) < ui::contrast::kGraphic;
                    }
                EXPECT_TRUE(drawn > image.width() * image.height() / 8 && drawn < image.width() * image.height()) << drawn;
                EXPECT_EQ(faint, 0) << face.name().toStdString();
            }
        }
    }
    QApplication::setPalette(light);
}

}  // namespace
