#include "ui/ButtonPictures.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

// Pixels of a picture that are drawn (not transparent).
int drawnPixels(const QImage& image)
{
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            drawn += qAlpha(image.pixel(x, y)) > 0;
    return drawn;
}

TEST(ButtonPictures, FitInsideTheirButtonsFrames)
{
    // Button sizes in pixels; each picture leaves at least 2 pixels on every side for the button's frame.
    const struct {
        QPixmap picture;
        QSize button;
    } cases[] = {{ui::showLowerToolbarPicture(), QSize(17, 33)},
                 {ui::hideLowerToolbarPicture(), QSize(14, 53)},
                 {ui::restoreToolbarsPicture(), QSize(58, 15)}};
    for (const auto& c : cases) {
        const QImage image = c.picture.toImage();
        EXPECT_LE(image.width(), c.button.width() - 4);
        EXPECT_LE(image.height(), c.button.height() - 4);
        // Drawn on a transparent ground, so the button's own face shows around the mark.
        EXPECT_GT(drawnPixels(image), image.width() * image.height() / 8);
        EXPECT_LT(drawnPixels(image), image.width() * image.height());
    }
}

}  // namespace
