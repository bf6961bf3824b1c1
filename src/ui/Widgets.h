#pragma once
// Small helpers shared by the windows: controls placed in twips, menu items with object names, and boxes
// that show a colour of their own while they do not have the focus.
#include <QColor>
#include <QKeySequence>
#include <QRect>
#include <QString>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QWidget;

namespace ui {

// Places `widget` at a rectangle given in twips and names it.
void place(QWidget* widget, const char* objectName, const QRect& twipsRect);

template <class W>
W* placeNew(QWidget* parent, const char* objectName, const QRect& twipsRect)
{
    auto* w = new W(parent);
    place(w, objectName, twipsRect);
    return w;
}

QPushButton* makeButton(QWidget* parent, const char* objectName, const QString& caption, const QRect& twipsRect,
                        const QString& tip = QString());
QLabel* makeLabel(QWidget* parent, const char* objectName, const QString& caption, const QRect& twipsRect,
                  const QString& tip = QString());

QAction* addMenuItem(QMenu* menu, const char* objectName, const QString& caption, const QKeySequence& key = {});
void addMenuSeparator(QMenu* menu, const char* objectName);

// Gives a box the palette's own colour while it has the focus and `idle` otherwise, or, where the palette's
// text would not read on `idle` (a dark theme), a tint of `idle` that it reads on. Also works for a combo
// box that cannot be edited, whose face would otherwise ignore its base colour.
void paintWhenIdle(QWidget* box, const QColor& idle);

}  // namespace ui
