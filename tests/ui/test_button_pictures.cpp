#include "ui/ButtonPictures.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

TEST(ButtonPictures, FitInsideTheirButtonsOnATransparentGround)
{
    // Button sizes in pixels; each picture leaves 2 pixels on every side for the button's frame.
    const std::pair<QPixmap, QSize> cases[] = {{ui::showLowerToolbarPicture(), QSize(17, 33)},
                                               {ui::hideLowerToolbarPicture(), QSize(14, 53)},
                                               {ui::restoreToolbarsPicture(), QSize(58, 15)}};
    for (const auto& [picture, button] : cases) {
        const QImage image = picture.toImage();
        EXPECT_LE(image.width(), button.width() - 4);
        EXPECT_LE(image.height(), button.height() - 4);
        int drawn = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                drawn += qAlpha(image.pixel(x, y)) > 0;
        EXPECT_GT(drawn, image.width() * image.height() / 8);
        EXPECT_LT(drawn, image.width() * image.height());
    }
}

}  // namespace
