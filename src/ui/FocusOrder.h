#pragma once
// The order in which Tab visits a window's controls: as they are read on the screen, left to right in rows
// from the top, each group box's controls together; controls that are hidden, disabled or cut off by the
// edge of what holds them are passed over.
#include <QList>
#include <QRect>

class QWidget;

namespace ui::focusorder {

struct Item {
    int parent = -1;  // index of the group holding it, or -1
    QRect rect;       // in the window's coordinates
    QRect seen;       // the part of rect that the groups around it leave visible
    bool takesFocus = false;
};

// Indexes of the items that take the focus, in Tab order. Siblings are read in rows: a row starts with the
// topmost sibling not yet placed and takes every sibling whose top lies above that one's bottom. An item
// less than half of which is seen is passed over.
QList<int> order(const QList<Item>& items);

// The controls of `window` that Tab visits, in order.
QList<QWidget*> tabOrder(QWidget* window);
// Moves the focus of `window` one step along tabOrder; false when no control can take it.
bool moveFocus(QWidget* window, bool forward);

}  // namespace ui::focusorder
