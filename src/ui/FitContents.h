#pragma once
// Controls placed at fixed positions were sized for a smaller font than many desktops use. This widens the
// ones whose text would be cut off, so a frame can then be given the width its contents need.
class QWidget;

namespace ui {

// Widens each shown direct child of `container` to at least its minimum size hint (the width its caption
// needs) and moves the children to its right on the same row along. Returns the width the container needs
// for them, keeping its right margin, and for its own title. Nothing gets narrower and the container itself is
// not resized.
int fitChildren(QWidget* container);

// Two neighbouring buttons that share one room (the text-mode buttons stand in the room of the two rename
// buttons). A caption that needs more than its button's width takes it from the other button's spare room;
// the pair never reaches beyond its room.
void shareRoom(QWidget* left, QWidget* right);

}  // namespace ui
