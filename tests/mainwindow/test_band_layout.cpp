#include "mainwindow/BandLayout.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

using bands::BandState;
using bands::Mode;

namespace {

constexpr int W = 9950;  // the window size the chooser's reset gives
constexpr int H = 5830;

BandState state(bool upper, bool lower, Mode mode = Mode::Directory)
{
    return BandState{upper, lower, mode};
}

bands::BandRects design(bool upper, bool lower, Mode mode = Mode::Directory, QSize outer = QSize(W, H))
{
    const auto r = bands::designLayout(outer, state(upper, lower, mode));
    EXPECT_TRUE(r.has_value());
    return r.value_or(bands::BandRects{});
}

TEST(DesignLayout, NameTextHeightFollowsTheToolbars)
{
    EXPECT_EQ(design(true, true).eingabeMit.height(), H - 4350);
    EXPECT_EQ(design(false, true).eingabeMit.height(), H - 3250);
    EXPECT_EQ(design(true, false).eingabeMit.height(), H - 3300);
    EXPECT_EQ(design(false, false).eingabeMit.height(), H - 2200);
    for (bool upper : {true, false})
        for (bool lower : {true, false}) {
            const auto r = design(upper, lower);
            EXPECT_EQ(r.eingabeOhne.height(), r.eingabeMit.height());
            EXPECT_EQ(r.original.height(), r.eingabeMit.height() + 60) << upper << lower;
        }
}

TEST(DesignLayout, HidingTheUpperToolbarMovesTheWorkAreaUp)
{
    const auto shown = design(true, true);
    const auto hidden = design(false, true);
    EXPECT_EQ(shown.eingabeMit.top(), 2490);
    EXPECT_EQ(shown.original.top(), 2490);
    EXPECT_EQ(shown.label1.top(), 2250);
    EXPECT_EQ(shown.label2.top(), 2250);
    for (const QRect* r : {&hidden.eingabeMit, &hidden.eingabeOhne, &hidden.original})
        EXPECT_EQ(r->top(), 1390);
    EXPECT_EQ(hidden.label1.top(), 1150);
    EXPECT_EQ(hidden.label2.top(), 1150);
}

TEST(DesignLayout, ListStandsRightOfTheNameTextAndEnds300InsideTheWindow)
{
    const auto r = design(true, true);
    EXPECT_EQ(r.eingabeOhne.left(), 0);
    EXPECT_EQ(r.eingabeOhne.width(), W - 3375 - 300);
    EXPECT_EQ(r.eingabeMit.width(), W - 3375 - 300);
    EXPECT_EQ(r.original.left(), r.eingabeOhne.left() + r.eingabeOhne.width());
    EXPECT_EQ(r.original.left() + r.original.width(), W - 300);
    EXPECT_EQ(r.original.width(), 3375);
    EXPECT_EQ(r.label1.left(), r.original.left());
}

TEST(DesignLayout, TextModeSpansTheWindow)
{
    const auto r = design(true, true, Mode::Text);
    EXPECT_EQ(r.eingabeOhne.width(), W - 250);
    EXPECT_EQ(r.eingabeMit.width(), W - 380);
    EXPECT_EQ(r.eingabeOhne.left(), r.eingabeMit.left());
}

TEST(DesignLayout, ToolbarsAndRestoreButtonsFollowTheOuterSize)
{
    const auto r = design(true, true);
    EXPECT_EQ(r.controlsFrame.top(), H - 2000);
    EXPECT_EQ(r.controlsFrame.width(), W);
    EXPECT_EQ(r.erweiterungsFrame.width(), W);
    EXPECT_EQ(r.showControlsDialogButton.top(), H - 1200);
    EXPECT_EQ(r.showControlsDialogButton.size(), QSize(255, 495));
    EXPECT_EQ(r.command18, QRect(9045, 840, 870, 225));
}

TEST(DesignLayout, SmallWindowIsLeftAlone)
{
    EXPECT_FALSE(bands::designLayout(QSize(999, H), state(true, true)));
    EXPECT_FALSE(bands::designLayout(QSize(W, 3299), state(true, true)));
    // At the limit the layout runs; a height that would be negative is none.
    const auto atLimit = bands::designLayout(QSize(1000, 3300), state(true, true));
    ASSERT_TRUE(atLimit);
    EXPECT_EQ(atLimit->eingabeMit.height(), 0);
    EXPECT_EQ(atLimit->eingabeMit.width(), 0);
    EXPECT_FALSE(bands::screenLayout({QSize(999, H), QSize(600, 400), state(true, true)}));
}

// The on-screen form, for window sizes with and without a window manager's frame.
struct ScreenCase {
    QSize outer;  // twips
    QSize inner;  // pixels
};

class ScreenLayoutTest : public ::testing::TestWithParam<ScreenCase> {
protected:
    bands::BandRects screen(bool upper, bool lower, Mode mode = Mode::Directory, int lowerNeeds = 0) const
    {
        const auto r = bands::screenLayout({GetParam().outer, GetParam().inner, state(upper, lower, mode), lowerNeeds});
        EXPECT_TRUE(r.has_value());
        return r.value_or(bands::BandRects{});
    }
};

TEST_P(ScreenLayoutTest, WorkAreaEndsAboveTheLowerToolbarAndBelowTheUpperOne)
{
    const QSize inner = GetParam().inner;
    for (int needs : {0, 130}) {
        for (bool upper : {true, false}) {
            const auto withLower = screen(upper, true, Mode::Directory, needs);
            for (const QRect& box : {withLower.eingabeMit, withLower.eingabeOhne, withLower.original}) {
                EXPECT_LT(box.bottom(), withLower.controlsFrame.top()) << upper << needs;
                EXPECT_GE(box.top(), upper ? withLower.erweiterungsFrame.bottom() : 1095 / 15);
                EXPECT_LE(box.right(), inner.width() - 1);
            }
            EXPECT_LE(withLower.controlsFrame.bottom(), inner.height() - 1);
            EXPECT_GE(withLower.controlsFrame.height(), std::max(1215 / 15, needs));
            EXPECT_LT(withLower.eingabeMit.right(), withLower.original.left());
            EXPECT_EQ(withLower.original.height(), withLower.eingabeMit.height() + 4);

            const auto noLower = screen(upper, false, Mode::Directory, needs);
            EXPECT_LT(noLower.eingabeMit.bottom(), noLower.showControlsDialogButton.top());
            EXPECT_LE(noLower.original.bottom(), inner.height() - 1);
        }
    }
}

TEST_P(ScreenLayoutTest, HidingAToolbarGivesTheWorkAreaItsRoom)
{
    for (bool lower : {true, false}) {
        const int gained = screen(false, lower).eingabeMit.height() - screen(true, lower).eingabeMit.height();
        EXPECT_NEAR(gained, 1100 / 15.0, 1.0);
    }
    for (bool upper : {true, false})
        EXPECT_EQ(screen(upper, false).original.height() - screen(upper, true).original.height(), 1050 / 15);
}

TEST_P(ScreenLayoutTest, TextModeUsesTheListsWidthButStaysInside)
{
    const auto text = screen(true, true, Mode::Text);
    const auto dir = screen(true, true, Mode::Directory);
    EXPECT_GT(text.eingabeOhne.width(), dir.eingabeOhne.width());
    EXPECT_LE(text.eingabeOhne.right(), GetParam().inner.width() - 1);
    EXPECT_EQ(text.eingabeOhne.left(), text.eingabeMit.left());
}

INSTANTIATE_TEST_SUITE_P(Sizes, ScreenLayoutTest,
                         ::testing::Values(ScreenCase{QSize(W, H), QSize(663, 363)},              // no frame, menu bar
                                           ScreenCase{QSize(W, H), QSize(655, 331)},              // frame and title bar
                                           ScreenCase{QSize(15480, 8720), QSize(1032, 556)},      // designed size
                                           ScreenCase{QSize(24000, 15000), QSize(1590, 960)},     // large
                                           ScreenCase{QSize(W, H), QSize(600, 363)}));            // frame wider than 300

TEST(FitRow, FramesKeepTheirDesignPlacesWhenTheyFit)
{
    const QList<QRect> row{QRect(120, 120, 3015, 945), QRect(3240, 120, 3735, 975), QRect(7080, 120, 1815, 945)};
    const QList<QRect> placed = bands::fitRow(row, {150, 0, 100});
    ASSERT_EQ(placed.size(), 3);
    EXPECT_EQ(placed[0], QRect(8, 8, 201, 63));
    EXPECT_EQ(placed[1], QRect(216, 8, 249, 65));
    EXPECT_EQ(placed[2], QRect(472, 8, 121, 63));
}

TEST(FitRow, AWiderFramePushesTheFramesAfterIt)
{
    const QList<QRect> row{QRect(120, 120, 3015, 945), QRect(3240, 120, 3735, 975), QRect(7080, 120, 1815, 945)};
    const QList<QRect> placed = bands::fitRow(row, {230, 0, 140});
    EXPECT_EQ(placed[0].width(), 230);
    EXPECT_EQ(placed[1].left(), 216 + 29);  // the first frame grew by 29
    EXPECT_EQ(placed[1].width(), 249);
    EXPECT_EQ(placed[2].left(), 472 + 29);
    EXPECT_EQ(placed[2].width(), 140);
}

TEST(FitRow, OverlappingDesignPlacesAreSeparated)
{
    // The upper toolbar's frames overlap by a few twips in their design places.
    const QList<QRect> row{QRect(375, 75, 2895, 975), QRect(3240, 75, 3015, 975), QRect(6240, 75, 3015, 975)};
    const QList<QRect> placed = bands::fitRow(row, {});
    for (qsizetype i = 1; i < placed.size(); ++i) {
        EXPECT_GT(placed[i].left(), placed[i - 1].right());
        EXPECT_GE(placed[i].left(), row[i].left() / 15);
        EXPECT_EQ(placed[i].width(), row[i].width() / 15);
    }
}

}  // namespace

namespace {

TEST(WrapOverflow, ControlsPastTheEdgeMoveIntoARowBelow)
{
    // Two rows of buttons and a column of labels at the right, as in the lower toolbar.
    const QList<QRect> controls{QRect(24, 12, 100, 25), QRect(530, 12, 80, 25), QRect(612, 12, 80, 25),
                                QRect(24, 44, 100, 25), QRect(656, 48, 21, 20),
                                QRect(700, 12, 60, 17), QRect(700, 32, 73, 17), QRect(700, 52, 120, 17)};
    EXPECT_EQ(bands::wrapOverflow(controls, 900, 4), controls);

    const QList<QRect> placed = bands::wrapOverflow(controls, 655, 4);
    EXPECT_EQ(placed.mid(0, 2), controls.mid(0, 2));
    EXPECT_EQ(placed[3], controls[3]);
    // Exit, the on-top control and the three labels, side by side below the lowest control that stayed.
    EXPECT_EQ(placed[2], QRect(24, 73, 80, 25));
    EXPECT_EQ(placed[4], QRect(108, 73, 21, 20));
    EXPECT_EQ(placed[5], QRect(133, 73, 60, 17));
    EXPECT_EQ(placed[6], QRect(197, 73, 73, 17));
    EXPECT_EQ(placed[7], QRect(274, 73, 120, 17));
    for (const QRect& r : placed)
        EXPECT_LT(r.right(), 655);
}

TEST(WrapOverflow, ANarrowWindowGetsSeveralRows)
{
    const QList<QRect> controls{QRect(10, 0, 50, 20), QRect(70, 0, 50, 20), QRect(130, 0, 50, 30), QRect(190, 0, 50, 20)};
    const QList<QRect> placed = bands::wrapOverflow(controls, 125, 5);
    EXPECT_EQ(placed[0], controls[0]);
    EXPECT_EQ(placed[1], controls[1]);
    EXPECT_EQ(placed[2], QRect(10, 25, 50, 30));
    EXPECT_EQ(placed[3], QRect(65, 25, 50, 20));
    // Narrower than a single control: one per row, nothing left out.
    const QList<QRect> single = bands::wrapOverflow(controls, 40, 5);
    EXPECT_EQ(single[0], QRect(10, 0, 50, 20));
    EXPECT_EQ(single[1], QRect(10, 25, 50, 20));
    EXPECT_EQ(single[3].top(), single[2].bottom() + 1 + 5);
}

}  // namespace
