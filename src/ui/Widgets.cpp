#include "ui/Widgets.h"

#include "ui/Contrast.h"
#include "ui/Twips.h"

#include <QAction>
#include <QApplication>
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
        apply();
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        // A new desktop palette (a dark theme, say) may make the idle colour unreadable.
        if (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut || e->type() == QEvent::ApplicationPaletteChange)
            apply();
        return false;
    }

private:
    void apply()
    {
        // The colours the box would have without this filter: those of the desktop's palette.
        const QPalette own = QApplication::palette(m_box);
        QColor face = own.color(QPalette::Base);
        QColor button = own.color(QPalette::Button);
        if (!m_box->hasFocus()) {
            // A combo box that cannot be edited paints its face with the button colour and its text with
            // the button text colour; the same tint serves both kinds of box.
            face = button = contrast::readableBackground(
                m_idle, face, {own.color(QPalette::Text), own.color(QPalette::ButtonText)});
        }
        QPalette p = m_box->palette();
        p.setColor(QPalette::Base, face);
        p.setColor(QPalette::Button, button);
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
