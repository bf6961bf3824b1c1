#include "mainwindow/BandLayout.h"

#include "support/TestSupport.h"

using bands::BandState;
using bands::Mode;

namespace {

constexpr int W = 9950;  // the window size the chooser's reset gives
constexpr int H = 5830;

TEST(DesignLayout, SmallWindowIsLeftAlone)
{
    const BandState both{true, true, Mode::Directory};
    EXPECT_FALSE(bands::designLayout(QSize(999, H), both) || bands::designLayout(QSize(W, 3299), both)
                 || bands::screenLayout({QSize(999, H), QSize(600, 400), both}));
    // At the limit it runs; a height that would be negative is none.
    EXPECT_EQ(bands::designLayout(QSize(1000, 3300), both)->eingabeMit.height(), 0);
}

// The on-screen form: outer size in twips and inner size in pixels, with and without a window manager's frame.
class ScreenLayoutTest : public ::testing::TestWithParam<std::pair<QSize, QSize>> {
protected:
    bands::BandRects screen(bool upper, bool lower, int lowerNeeds = 0, Mode mode = Mode::Directory) const
    {
        return bands::screenLayout({GetParam().first, GetParam().second, BandState{upper, lower, mode}, lowerNeeds})
            .value_or(bands::BandRects{});
    }
};

TEST_P(ScreenLayoutTest, WorkAreaStaysBetweenTheToolbarsAndInside)
{
    const QSize inner = GetParam().second;
    for (int needs : {0, 130})
        for (bool upper : {true, false}) {
            const auto r = screen(upper, true, needs);
            for (const QRect& box : {r.eingabeMit, r.eingabeOhne, r.original}) {
                EXPECT_LT(box.bottom(), r.controlsFrame.top()) << upper << needs;
                EXPECT_GT(box.top(), upper ? r.erweiterungsFrame.bottom() : 1095 / 15);
                EXPECT_LT(box.right(), inner.width());
            }
            EXPECT_LT(r.controlsFrame.bottom(), inner.height());
            EXPECT_GE(r.controlsFrame.height(), std::max(1215 / 15, needs));
            EXPECT_LT(r.eingabeMit.right(), r.original.left());
            EXPECT_EQ(r.original.height(), r.eingabeMit.height() + 4);

            const auto noLower = screen(upper, false, needs);
            EXPECT_LT(noLower.eingabeMit.bottom(), noLower.showControlsDialogButton.top());
            EXPECT_EQ(noLower.original.height() - r.original.height(), 1050 / 15);
            EXPECT_NEAR(screen(false, true, needs).eingabeMit.height() - screen(true, true, needs).eingabeMit.height(),
                        1100 / 15.0, 1.0);
        }
    EXPECT_LT(screen(true, true).label2.right(), screen(true, true).original.left());
    const auto text = screen(true, true, 0, Mode::Text);
    EXPECT_TRUE(text.eingabeOhne.width() > screen(true, true).eingabeOhne.width() && text.eingabeOhne.right() < inner.width());
}

INSTANTIATE_TEST_SUITE_P(Sizes, ScreenLayoutTest,
                         ::testing::Values(std::pair(QSize(W, H), QSize(663, 363)),            // no frame
                                           std::pair(QSize(W, H), QSize(600, 331)),            // a wide frame
                                           std::pair(QSize(24000, 15000), QSize(1590, 960))));  // large

TEST(ScreenLayout, RestoreButtonStaysRightOfTheFittedRow)
{
    const BandState both{true, true, Mode::Directory};
    EXPECT_EQ(bands::screenLayout({QSize(W, H), QSize(663, 363), both})->command18, QRect(603, 56, 58, 15));
    // Too narrow for it right of the row: at the right end of the captions' row, beside the list's caption.
    for (const bool upper : {true, false}) {
        const auto r = bands::screenLayout({QSize(W, H), QSize(663, 363), {upper, true, Mode::Directory}, 0, 640});
        EXPECT_EQ(r->command18, QRect(603, r->label1.top(), 58, 15));
        EXPECT_TRUE(r->label1.right() < r->command18.left() && r->command18.bottom() < r->original.top() && r->label1.width() > 150)
            << upper;
    }
}

TEST(FitRow, WiderFramesPushTheOnesAfterThemAndNothingOverlaps)
{
    const QList<QRect> row{QRect(120, 120, 3015, 945), QRect(3240, 120, 3735, 975), QRect(7080, 120, 1815, 945)};
    const QList<QRect> placed = bands::fitRow(row, {230, 0, 100});
    EXPECT_EQ(placed[0], QRect(8, 8, 230, 63));
    EXPECT_EQ(placed[1], QRect(216 + 29, 8, 249, 65));  // the first frame grew by 29
    EXPECT_EQ(placed[2], QRect(472 + 29, 8, 121, 63));  // no narrower than designed

    // Design places that overlap by a few twips are pulled apart.
    const QList<QRect> upper = bands::fitRow({QRect(375, 75, 2895, 975), QRect(3240, 75, 3015, 975)}, {});
    EXPECT_EQ(upper[1].left(), upper[0].right() + 1);
}

TEST(WrapOverflow, ControlsPastTheEdgeMoveIntoRowsBelow)
{
    // Two rows of buttons and a column of labels at the right, as in the lower toolbar.
    const QList<QRect> controls{QRect(24, 12, 100, 25), QRect(612, 12, 80, 25), QRect(24, 44, 100, 25),
                                QRect(656, 48, 21, 20), QRect(700, 12, 60, 17), QRect(700, 32, 120, 17)};
    EXPECT_EQ(bands::wrapOverflow(controls, 900, 4), controls);
    const QList<QRect> placed = bands::wrapOverflow(controls, 655, 4);
    EXPECT_TRUE(placed[0] == controls[0] && placed[2] == controls[2]);
    EXPECT_EQ(placed[1], QRect(24, 73, 80, 25));  // below the lowest control that stayed
    EXPECT_EQ(placed[3], QRect(108, 73, 21, 20));
    EXPECT_EQ(placed[5], QRect(197, 73, 120, 17));
    // Narrower than one control: one per row, nothing left out.
    const QList<QRect> single = bands::wrapOverflow(controls, 90, 4);
    EXPECT_EQ(single[3], QRect(24, single[2].bottom() + 5, 21, 20));
}

}  // namespace
