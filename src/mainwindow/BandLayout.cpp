#include "mainwindow/BandLayout.h"

#include "ui/Twips.h"

#include <algorithm>
#include <limits>

namespace bands {
namespace {

// Design places in twips.
constexpr int kWorkTop = 2490;  // top of the name text and the list below the upper toolbar
constexpr int kLabelTop = 2250;
constexpr int kLabelHeight = 255;
constexpr int kLabel1Width = 2880;
constexpr int kLabel2Left = 135;
constexpr int kLabel2Width = 5655;
constexpr int kMitLeft = 15;
constexpr int kOhneLeft = 0;
constexpr int kListWidth = 3375;
constexpr int kListExtraHeight = 60;
constexpr int kListRightMargin = 300;
constexpr int kTextModeOhneMargin = 250;
constexpr int kTextModeMitMargin = 380;
constexpr int kBandsWithLowerToolbar = 4350;
constexpr int kBandsWithoutLowerToolbar = 3300;
constexpr int kUpperLeft = 10;
constexpr int kUpperTop = 1110;
constexpr int kUpperHeight = 1065;
constexpr int kLowerFromBottom = 2000;
constexpr int kLowerHeight = 1215;
constexpr int kShowButtonLeft = -30;
constexpr int kShowButtonFromBottom = 1200;
constexpr int kShowButtonWidth = 255;
constexpr int kShowButtonHeight = 495;
const QRect kCommand18(9045, 840, 870, 225);

// On screen: the space kept free at the inner area's bottom edge and between the work area and what is below it.
constexpr int kEdgePx = 2;
constexpr int kGapPx = 4;

bool tooSmall(QSize outer)
{
    return outer.width() < kMinOuterWidth || outer.height() < kMinOuterHeight;
}

int px(int t) { return twips::toPixels(t); }

QRect px(const QRect& t) { return twips::rect(t.x(), t.y(), t.width(), t.height()); }

}  // namespace

std::optional<BandRects> designLayout(QSize outer, const BandState& state)
{
    if (tooSmall(outer))
        return std::nullopt;
    const int W = outer.width();
    const int H = outer.height();
    const int shift = state.upperShown ? 0 : kUpperToolbarRoom;
    const int workTop = kWorkTop - shift;
    const int labelTop = kLabelTop - shift;

    int textHeight = H - (state.lowerShown ? kBandsWithLowerToolbar : kBandsWithoutLowerToolbar) + shift;
    textHeight = std::max(0, textHeight);

    BandRects r;
    const int textWidth = std::max(0, W - kListWidth - kListRightMargin);
    r.original = QRect(kOhneLeft + textWidth, workTop, kListWidth, textHeight + kListExtraHeight);
    if (state.mode == Mode::Directory) {
        r.eingabeMit = QRect(kMitLeft, workTop, textWidth, textHeight);
        r.eingabeOhne = QRect(kOhneLeft, workTop, textWidth, textHeight);
    } else {
        r.eingabeMit = QRect(kMitLeft, workTop, std::max(0, W - kTextModeMitMargin), textHeight);
        r.eingabeOhne = QRect(kMitLeft, workTop, std::max(0, W - kTextModeOhneMargin), textHeight);
    }
    r.label1 = QRect(r.original.x(), labelTop, kLabel1Width, kLabelHeight);
    r.label2 = QRect(kLabel2Left, labelTop, kLabel2Width, kLabelHeight);
    r.erweiterungsFrame = QRect(kUpperLeft, kUpperTop, W, kUpperHeight);
    r.controlsFrame = QRect(0, H - kLowerFromBottom, W, kLowerHeight);
    r.showControlsDialogButton = QRect(kShowButtonLeft, H - kShowButtonFromBottom, kShowButtonWidth, kShowButtonHeight);
    r.command18 = kCommand18;
    return r;
}

std::optional<BandRects> screenLayout(const ScreenInput& in)
{
    const std::optional<BandRects> design = designLayout(in.outerTwips, in.state);
    if (!design)
        return std::nullopt;
    const int innerWidth = in.innerPixels.width();
    const int innerHeight = in.innerPixels.height();
    const int listExtra = px(kListExtraHeight);
    const int lowerRoom = px(kLowerToolbarRoom);

    // Bottom edges, worked out from the inner area's bottom upwards.
    BandRects r;
    r.showControlsDialogButton =
        QRect(px(kShowButtonLeft), innerHeight - kEdgePx - px(kShowButtonHeight), px(kShowButtonWidth), px(kShowButtonHeight));
    const int lowerHeight = std::max(px(kLowerHeight), in.lowerToolbarNeededHeight);
    // The name text with the lower toolbar shown ends so high that, once the toolbar hides and the text grows by
    // its room, it still ends above ShowControlsDialogButton.
    const int textBottomWithLower = std::min(innerHeight - kEdgePx - lowerHeight - kGapPx - listExtra,
                                             r.showControlsDialogButton.top() - kGapPx - lowerRoom);
    const int lowerTop = textBottomWithLower + listExtra + kGapPx;
    // The toolbar reaches down to the edge; its controls keep their places at its top.
    r.controlsFrame = QRect(0, lowerTop, innerWidth, std::max(lowerHeight, innerHeight - kEdgePx - lowerTop));
    const int textBottom = textBottomWithLower + (in.state.lowerShown ? 0 : lowerRoom);

    const int workTop = px(design->original.top());
    const int textHeight = std::max(0, textBottom - workTop);

    // Widths follow the design, but the list never reaches past the inner area's right edge and the name text
    // ends where the list begins.
    const int rightLimit = innerWidth - kEdgePx;
    const QRect designList = px(design->original);
    const int listLeft = std::max(0, std::min(designList.x(), rightLimit - designList.width()));
    auto textBox = [&](const QRect& t, int rightEdge) {
        const QRect p = px(t);
        return QRect(p.x(), workTop, std::max(0, std::min(p.width(), rightEdge - p.x())), textHeight);
    };
    const int textRightEdge = in.state.mode == Mode::Directory ? listLeft : rightLimit;
    r.eingabeMit = textBox(design->eingabeMit, textRightEdge);
    r.eingabeOhne = textBox(design->eingabeOhne, textRightEdge);
    r.original = QRect(listLeft, workTop, designList.width(), textHeight + listExtra);
    r.label1 = QRect(r.original.x(), px(design->label1.top()), px(kLabel1Width), px(kLabelHeight));
    r.label2 = px(design->label2);
    r.label2.setWidth(std::max(0, listLeft - kGapPx - r.label2.x()));
    r.erweiterungsFrame = QRect(px(kUpperLeft), px(kUpperTop), std::max(0, innerWidth - px(kUpperLeft)), px(kUpperHeight));
    r.command18 = px(kCommand18);
    r.command18.moveLeft(std::max(r.command18.x(), in.fixedRowRight + 1 + kGapPx));
    if (r.command18.right() >= rightLimit) {
        // No room right of the fixed row: the right end of the captions' row, the list's caption shortened for it.
        r.command18.moveTo(rightLimit - r.command18.width(), r.label1.top());
        r.label1.setRight(std::min(r.label1.right(), r.command18.left() - 1 - kGapPx));
    }
    return r;
}

QList<QRect> fitRow(const QList<QRect>& designTwips, const QList<int>& neededWidthsPx)
{
    QList<QRect> placed;
    placed.reserve(designTwips.size());
    int growth = 0;  // how far the right edge of the frame before has moved from its design place
    for (qsizetype i = 0; i < designTwips.size(); ++i) {
        const QRect design = px(designTwips[i]);
        const int needed = i < neededWidthsPx.size() ? neededWidthsPx[i] : 0;
        int left = design.x() + growth;
        if (!placed.isEmpty())
            left = std::max(left, placed.last().right() + 1);
        const QRect frame(left, design.y(), std::max(design.width(), needed), design.height());
        placed.append(frame);
        growth = frame.right() - design.right();
    }
    return placed;
}

QList<QRect> wrapOverflow(const QList<QRect>& controls, int availableWidth, int gap)
{
    QList<QRect> placed = controls;
    int left = std::numeric_limits<int>::max();
    int bottom = std::numeric_limits<int>::min();
    bool overflow = false;
    for (const QRect& r : controls) {
        left = std::min(left, r.left());
        if (r.right() < availableWidth)
            bottom = std::max(bottom, r.bottom());
        else
            overflow = true;
    }
    if (!overflow)
        return placed;
    if (bottom == std::numeric_limits<int>::min())
        bottom = -1 - gap;  // nothing fits where it stands: the rows start at the top

    int x = left;
    int rowTop = bottom + 1 + gap;
    int rowHeight = 0;
    for (QRect& r : placed) {
        if (r.right() < availableWidth)
            continue;
        if (x > left && x + r.width() > availableWidth) {
            rowTop += rowHeight + gap;
            x = left;
            rowHeight = 0;
        }
        r.moveTo(x, rowTop);
        x += r.width() + gap;
        rowHeight = std::max(rowHeight, r.height());
    }
    return placed;
}

}  // namespace bands
