#pragma once
// Pictures of the main window's small image buttons, drawn in code so that no image files ship. Each is
// drawn afresh for the size and pixel density it is shown at, in colours that stand out from the
// palette's button face; each fits inside its button with room for the button's own frame.
#include <QIcon>
#include <QSize>

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

}  // namespace ui
