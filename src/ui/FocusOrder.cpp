#include "ui/FocusOrder.h"

#include <QWidget>

#include <algorithm>

namespace ui::focusorder {
namespace {

qint64 area(const QRect& r)
{
    return r.isEmpty() ? 0 : qint64(r.width()) * r.height();
}

// The siblings in reading order.
QList<int> readingOrder(const QList<Item>& items, QList<int> siblings)
{
    std::stable_sort(siblings.begin(), siblings.end(), [&](int a, int b) { return items[a].rect.top() < items[b].rect.top(); });
    QList<int> out;
    for (qsizetype first = 0; first < siblings.size();) {
        const int rowBottom = items[siblings[first]].rect.bottom();
        qsizetype end = first + 1;
        while (end < siblings.size() && items[siblings[end]].rect.top() <= rowBottom)
            ++end;
        QList<int> row = siblings.mid(first, end - first);
        std::stable_sort(row.begin(), row.end(), [&](int a, int b) { return items[a].rect.left() < items[b].rect.left(); });
        out += row;
        first = end;
    }
    return out;
}

void visit(const QList<Item>& items, const QList<QList<int>>& children, int parent, QList<int>& out)
{
    for (int i : readingOrder(items, children[parent + 1])) {
        if (items[i].takesFocus) {
            if (2 * area(items[i].seen) >= area(items[i].rect) && area(items[i].rect) > 0)
                out.append(i);
        } else {
            visit(items, children, i, out);
        }
    }
}

bool takesTab(const QWidget* w, const QWidget* window)
{
    return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isEnabled() && !w->focusProxy()
           && w->isVisibleTo(window);
}

// Adds the controls and groups below `parent` that matter to Tab; true when one of them takes the focus.
bool collect(QWidget* window, QWidget* parent, int parentIndex, const QRect& parentSeen, QList<Item>& items,
             QList<QWidget*>& widgets)
{
    bool any = false;
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow() || !w->isVisibleTo(window))
            continue;
        Item item;
        item.parent = parentIndex;
        item.rect = QRect(w->mapTo(window, QPoint(0, 0)), w->size());
        item.seen = item.rect & parentSeen;
        item.takesFocus = takesTab(w, window);
        const int index = int(items.size());
        items.append(item);
        widgets.append(w);
        // A control's own parts (a scroll area's view, a combo box's line) are its business.
        if (item.takesFocus || collect(window, w, index, item.seen, items, widgets)) {
            any = true;
        } else {
            items.resize(index);
            widgets.resize(index);
        }
    }
    return any;
}

}  // namespace

QList<int> order(const QList<Item>& items)
{
    QList<QList<int>> children(items.size() + 1);
    for (int i = 0; i < items.size(); ++i)
        children[items[i].parent + 1].append(i);
    QList<int> out;
    visit(items, children, -1, out);
    return out;
}

QList<QWidget*> tabOrder(QWidget* window)
{
    QList<Item> items;
    QList<QWidget*> widgets;
    collect(window, window, -1, window->rect(), items, widgets);
    QList<QWidget*> out;
    for (int i : order(items))
        out.append(widgets[i]);
    return out;
}

bool moveFocus(QWidget* window, bool forward)
{
    const QList<QWidget*> controls = tabOrder(window);
    if (controls.isEmpty())
        return false;
    // The control that holds the focus, or the one whose part holds it.
    qsizetype at = -1;
    for (QWidget* w = window->focusWidget(); w && w != window && at < 0; w = w->parentWidget())
        at = controls.indexOf(w);
    qsizetype next;
    if (at < 0)
        next = forward ? 0 : controls.size() - 1;
    else
        next = (at + (forward ? 1 : controls.size() - 1)) % controls.size();
    controls[next]->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

}  // namespace ui::focusorder
