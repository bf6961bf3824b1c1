#pragma once
// Window-system calls that differ between platforms.
class QWidget;

namespace placement {

// Puts a top-level window into the always-on-top band or takes it out; position and size stay.
void setStayOnTop(QWidget* window, bool onTop);
bool isStayOnTop(const QWidget* window);

}  // namespace placement
