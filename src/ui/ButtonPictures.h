#pragma once
// Pictures of the main window's small image buttons, drawn in code so that no image files ship. Each is
// drawn afresh for the size and pixel density it is shown at, in colours that stand out from the
// palette's button face; each fits inside its button with room for the button's own frame.
#include <QIcon>
#include <QPixmap>
#include <QSize>

class QPainter;

namespace ui {

struct ButtonPicture {
    QIcon icon;
    QSize size;  // in device-independent pixels
};

// Arrow pointing up: brings the hidden lower toolbar back (ShowControlsDialogButton, 11 by 21).
ButtonPicture showLowerToolbarPicture();
// Cross over a downward chevron: hides the lower toolbar (CloseFrame2, 10 by 21).
ButtonPicture hideLowerToolbarPicture();
// Two chevrons pointing down: shows both toolbars again (Command18, 30 by 11).
ButtonPicture restoreToolbarsPicture();

// The always-on-top control's three pictures: two overlapping windows, the front one with its title bar,
// on no face (Normal), a light face (Highlighted) or a pressed-in one (Active).
enum class OnTopLook { Normal, Highlighted, Active };
inline constexpr QSize kOnTopPictureSize{21, 20};
void paintOnTopLook(QPainter& painter, OnTopLook look);
// A look drawn at a pixel density; the control itself draws its looks straight onto the screen.
QPixmap onTopPicture(OnTopLook look, qreal devicePixelRatio = 1.0);

}  // namespace ui
