#include "ui/FitContents.h"

#include <QWidget>

#include <algorithm>
#include <vector>

namespace ui {
namespace {

bool sameRow(const QRect& a, const QRect& b)
{
    return a.top() <= b.bottom() && b.top() <= a.bottom();
}

}  // namespace

int fitChildren(QWidget* container)
{
    std::vector<QWidget*> children;
    for (QObject* o : container->children())
        if (auto* w = qobject_cast<QWidget*>(o); w && !w->isWindow() && !w->isHidden())
            children.push_back(w);
    if (children.empty())
        return std::max(container->width(), container->minimumSizeHint().width());
    std::stable_sort(children.begin(), children.end(), [](QWidget* a, QWidget* b) { return a->x() < b->x(); });

    int designRight = 0;
    for (QWidget* w : children)
        designRight = std::max(designRight, w->geometry().right());
    const int rightMargin = std::max(0, container->width() - 1 - designRight);

    for (size_t i = 0; i < children.size(); ++i) {
        QWidget* w = children[i];
        const QRect before = w->geometry();
        const int growth = w->minimumSizeHint().width() - before.width();
        if (growth <= 0)
            continue;
        w->resize(before.width() + growth, before.height());
        for (size_t j = i + 1; j < children.size(); ++j) {
            QWidget* next = children[j];
            if (next->x() > before.right() && sameRow(before, next->geometry()))
                next->move(next->x() + growth, next->y());
        }
    }

    int right = 0;
    for (QWidget* w : children)
        right = std::max(right, w->geometry().right());
    return std::max(right + 1 + rightMargin, container->minimumSizeHint().width());
}

void shareRoom(QWidget* left, QWidget* right)
{
    left->ensurePolished();
    right->ensurePolished();
    const int start = left->x();
    const int end = right->geometry().right();
    const int gap = right->x() - left->geometry().right() - 1;
    const int leftNeed = left->minimumSizeHint().width();
    const int rightNeed = right->minimumSizeHint().width();
    if ((leftNeed <= left->width() && rightNeed <= right->width()) || leftNeed + gap + rightNeed > end - start + 1)
        return;
    const int leftWidth = qMax(leftNeed, end - start + 1 - gap - qMax(rightNeed, right->width()));
    left->resize(leftWidth, left->height());
    right->setGeometry(start + leftWidth + gap, right->y(), end - (start + leftWidth + gap) + 1, right->height());
}

}  // namespace ui
