#include "ui/Widgets.h"

#include "ui/Twips.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QWidget>

namespace ui {
namespace {

class IdleColour : public QObject {
public:
    IdleColour(QWidget* box, const QColor& idle) : QObject(box), m_box(box), m_idle(idle)
    {
        box->installEventFilter(this);
        apply(false);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::FocusIn)
            apply(true);
        else if (e->type() == QEvent::FocusOut)
            apply(false);
        return false;
    }

private:
    void apply(bool focused)
    {
        QPalette p = m_box->palette();
        const QColor colour = focused ? m_box->style()->standardPalette().color(QPalette::Base) : m_idle;
        p.setColor(QPalette::Base, colour);
        // A combo box that cannot be edited paints its face with the button colour.
        p.setColor(QPalette::Button, focused ? m_box->style()->standardPalette().color(QPalette::Button) : m_idle);
        m_box->setPalette(p);
    }
    QWidget* m_box;
    QColor m_idle;
};

}  // namespace

void place(QWidget* widget, const char* objectName, const QRect& r)
{
    widget->setObjectName(QString::fromUtf8(objectName));
    widget->setGeometry(twips::rect(r.x(), r.y(), r.width(), r.height()));
}

QPushButton* makeButton(QWidget* parent, const char* objectName, const QString& caption, const QRect& twipsRect,
                        const QString& tip)
{
    auto* b = placeNew<QPushButton>(parent, objectName, twipsRect);
    b->setText(caption);
    if (!tip.isEmpty())
        b->setToolTip(tip);
    return b;
}

QLabel* makeLabel(QWidget* parent, const char* objectName, const QString& caption, const QRect& twipsRect,
                  const QString& tip)
{
    auto* l = placeNew<QLabel>(parent, objectName, twipsRect);
    l->setText(caption);
    if (!tip.isEmpty())
        l->setToolTip(tip);
    return l;
}

QAction* addMenuItem(QMenu* menu, const char* objectName, const QString& caption, const QKeySequence& key)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromUtf8(objectName));
    if (!key.isEmpty())
        a->setShortcut(key);
    return a;
}

void addMenuSeparator(QMenu* menu, const char* objectName)
{
    menu->addSeparator()->setObjectName(QString::fromUtf8(objectName));
}

void paintWhenIdle(QWidget* box, const QColor& idle)
{
    new IdleColour(box, idle);
}

}  // namespace ui
