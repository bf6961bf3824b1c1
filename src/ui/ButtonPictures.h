#pragma once
// Pictures of the main window's small image buttons, drawn in code so that no image files ship. Each fits
// inside its button with room for the button's own frame; sizes in pixels.
#include <QPixmap>

namespace ui {

// Arrow pointing up: brings the hidden lower toolbar back (ShowControlsDialogButton, 11 by 21).
QPixmap showLowerToolbarPicture();
// Cross over a downward bar: hides the lower toolbar (CloseFrame2, 10 by 21).
QPixmap hideLowerToolbarPicture();
// Two chevrons pointing down: shows both toolbars again (Command18, 30 by 11).
QPixmap restoreToolbarsPicture();

}  // namespace ui
