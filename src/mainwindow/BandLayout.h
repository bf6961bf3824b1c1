#pragma once
// Placement of the main window's four bands: the fixed tool row, the upper toolbar, the work area (name text
// beside the list of original names) and the lower toolbar. No widgets here: sizes in, rectangles out.
#include <QList>
#include <QRect>
#include <QSize>

#include <optional>

namespace bands {

enum class Mode { Directory, Text };

struct BandState {
    bool upperShown = true;  // ErweiterungsFrame
    bool lowerShown = true;  // ControlsFrame
    Mode mode = Mode::Directory;
};

// Every control the layout moves, relative to the window's inner area.
struct BandRects {
    QRect eingabeMit;
    QRect eingabeOhne;
    QRect original;
    QRect label1;
    QRect label2;
    QRect erweiterungsFrame;
    QRect controlsFrame;
    QRect showControlsDialogButton;
    QRect command18;
};

// Below this outer size the window is too small to lay out; the controls are left as they are.
constexpr int kMinOuterWidth = 1000;
constexpr int kMinOuterHeight = 3300;
// The room each toolbar takes from the work area.
constexpr int kUpperToolbarRoom = 1100;
constexpr int kLowerToolbarRoom = 1050;

// The design arithmetic in twips, on the window's outer size (frame, title bar and menu bar included).
// A height that would come out negative is 0.
std::optional<BandRects> designLayout(QSize outerTwips, const BandState& state);

// What the window measures on screen.
struct ScreenInput {
    QSize outerTwips;   // outer size, as the window system reports it
    QSize innerPixels;  // the area the controls live in (below the menu bar)
    BandState state;
    // The height the lower toolbar's controls need at the current font; never less than its design height.
    int lowerToolbarNeededHeight = 0;
    // The right edge (pixels) of the fixed tool row once its frames are fitted; Command18 stays right of it,
    // or, where the window is too narrow for that, moves to the right end of the captions' row.
    int fixedRowRight = 0;
};

// The on-screen form in pixels. The upper bands keep the design's places; the bottom of the work area and the
// lower toolbar are measured from the inner area's bottom edge, so the name text and the list always end above
// the lower toolbar, whatever frame and title bar the window system adds. Hiding the upper toolbar gives the work
// area kUpperToolbarRoom, hiding the lower one kLowerToolbarRoom; the list stays 60 twips taller than the name
// text; with the lower toolbar hidden the name text ends above ShowControlsDialogButton. Label2 reaches to the
// list, so the line count beside its caption shows whole. Nothing for a window under the minimum size.
std::optional<BandRects> screenLayout(const ScreenInput& input);

// Tool frames of one row, in their design places (twips), each widened to at least the pixels its captions
// need; the frames after a widened one move right, and no frame overlaps the one before it. Nothing gets
// narrower or moves left of its design place. Missing minimum widths count as 0.
QList<QRect> fitRow(const QList<QRect>& designTwips, const QList<int>& neededWidthsPx);

// The controls of a toolbar (pixels, relative to it) in a window narrower than the toolbar's design: those
// that would reach past availableWidth move, in the given order, into rows below the lowest control, side by
// side from the left edge of the leftmost control, `gap` apart. The rest keep their places.
QList<QRect> wrapOverflow(const QList<QRect>& controls, int availableWidth, int gap);

}  // namespace bands
