#include "settings/AlwaysOnTop.h"

#include "settings/SettingsKeys.h"
#include "settings/WindowPlacement.h"
#include "ui/ButtonPictures.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

// One of the three pictures. It draws its look itself, so that it is sharp at any pixel density, and
// the control's focus frame over it.
class LookPicture final : public QLabel {
public:
    LookPicture(QWidget* parent, AlwaysOnTop::Look look) : QLabel(parent), m_look(look) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        ui::paintOnTopLook(p, m_look);
        // The focused control always shows a look with a light face of its own (the focus highlights the
        // normal look): a dotted black ring inside it stands out in any palette.
        if (parentWidget()->hasFocus()) {
            p.setPen(QPen(Qt::black, 1, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(1.5, 1.5, AlwaysOnTop::kWidth - 3, AlwaysOnTop::kHeight - 3));
        }
    }

private:
    AlwaysOnTop::Look m_look;
};

QLabel* makePicture(QWidget* parent, const char* name, AlwaysOnTop::Look look)
{
    auto* label = new LookPicture(parent, look);
    label->setObjectName(QString::fromLatin1(name));
    label->setToolTip(QStringLiteral("Always on top"));
    label->setGeometry(0, 0, AlwaysOnTop::kWidth, AlwaysOnTop::kHeight);
    // Clicks and hovering belong to the control, whichever picture lies on top.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

// Screen readers see the control as the check box it behaves like; its pictures are no parts of their own.
class AlwaysOnTopAccessible final : public QAccessibleWidget {
public:
    explicit AlwaysOnTopAccessible(AlwaysOnTop* control) : QAccessibleWidget(control, QAccessible::CheckBox) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = control()->GetIsOnTop();
        return s;
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QStringList actionNames() const override { return QStringList{toggleAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& name) override
    {
        if (name == toggleAction() || name == pressAction())
            control()->GetIsOnTop() ? control()->SetToNormal() : control()->SetToTop();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    AlwaysOnTop* control() const { return static_cast<AlwaysOnTop*>(widget()); }
};

QAccessibleInterface* accessibleFor(const QString& className, QObject* object)
{
    if (className == QLatin1String("AlwaysOnTop") && object && object->isWidgetType())
        return new AlwaysOnTopAccessible(static_cast<AlwaysOnTop*>(object));
    return nullptr;
}

}  // namespace

AlwaysOnTop::AlwaysOnTop(QWidget* parent)
    : QWidget(parent),
      m_disabled(makePicture(this, "AOT_Disabled", Look::Normal)),
      m_mouseMove(makePicture(this, "AOT_MouseMove", Look::Highlighted)),
      m_enabled(makePicture(this, "AOT_Enabled", Look::Active))
{
    static const bool accessibleInstalled = (QAccessible::installFactory(accessibleFor), true);
    Q_UNUSED(accessibleInstalled);
    setToolTip(QStringLiteral("Always on top"));
    setAccessibleName(QStringLiteral("Fenster immer im Vordergrund"));
    setAccessibleDescription(QStringLiteral("Hält dieses Fenster über allen anderen Fenstern; Leertaste oder Eingabetaste schaltet um."));
    // Reached by Tab; a click does not take the focus from the name text.
    setFocusPolicy(Qt::TabFocus);
    // Any resize by the host snaps back to this size.
    setFixedSize(kWidth, kHeight);
    showLook(Look::Normal);
}

void AlwaysOnTop::showLook(Look look)
{
    m_look = look;
    m_disabled->setVisible(look == Look::Normal);
    m_mouseMove->setVisible(look == Look::Highlighted);
    m_enabled->setVisible(look == Look::Active);
}

void AlwaysOnTop::SetToTop(bool saveSettings)
{
    m_isOnTop = true;
    showLook(Look::Active);
    applyToWindow();
    if (saveSettings)
        SaveSettings();
}

void AlwaysOnTop::SetToNormal(bool saveSettings)
{
    m_isOnTop = false;
    // The mouse is over the control after a click, so the normal state starts highlighted.
    showLook(Look::Highlighted);
    applyToWindow();
    if (saveSettings)
        SaveSettings();
}

void AlwaysOnTop::applyToWindow()
{
    SaveSettings();
    placement::setStayOnTop(window(), m_isOnTop);
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent told(this, changed);
    QAccessible::updateAccessibility(&told);
    Q_EMIT switched(m_isOnTop);
}

void AlwaysOnTop::SaveSettings()
{
    settings::write(settings::keys::kControlOnTop, m_isOnTop);
}

void AlwaysOnTop::LoadSettings()
{
    if (settings::read(settings::keys::kControlOnTop))
        SetToTop(false);
    else
        SetToNormal(false);
}

void AlwaysOnTop::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    if (m_look == Look::Normal)
        showLook(Look::Highlighted);
}

void AlwaysOnTop::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    m_pressed = false;
    if (m_look == Look::Highlighted && !hasFocus())
        showLook(Look::Normal);
}

void AlwaysOnTop::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void AlwaysOnTop::mouseReleaseEvent(QMouseEvent* event)
{
    // A click: pressed and released over the control.
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        this->click();
}

void AlwaysOnTop::click()
{
    if (m_isOnTop)
        SetToNormal();
    else
        SetToTop();
}

void AlwaysOnTop::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if ((key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter) || (event->modifiers() & ~Qt::KeypadModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    // Holding the key down switches once.
    if (!event->isAutoRepeat())
        click();
}

void AlwaysOnTop::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    // The focus highlights the normal look, as the mouse does, and frames whichever look is shown.
    if (m_look == Look::Normal)
        showLook(Look::Highlighted);
    update();
    for (QLabel* picture : {m_disabled, m_mouseMove, m_enabled})
        picture->update();
}

void AlwaysOnTop::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (m_look == Look::Highlighted && !underMouse())
        showLook(Look::Normal);
    for (QLabel* picture : {m_disabled, m_mouseMove, m_enabled})
        picture->update();
}
