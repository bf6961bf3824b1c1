#include "settings/AlwaysOnTop.h"

#include "settings/SettingsKeys.h"
#include "settings/WindowPlacement.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

QLabel* makePicture(QWidget* parent, const char* name, AlwaysOnTop::Look look)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setPixmap(AlwaysOnTop::picture(look));
    label->setToolTip(QStringLiteral("Always on top"));
    label->setGeometry(0, 0, AlwaysOnTop::kWidth, AlwaysOnTop::kHeight);
    // Clicks and hovering belong to the control, whichever picture lies on top.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

// Two overlapping windows, the front one with its title bar; the colours tell the state.
void drawWindows(QPainter& p, const QColor& outline, const QColor& frontFill, const QColor& titleBar)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(outline, 1));
    p.drawRect(QRectF(2.5, 2.5, 11, 9));
    p.setBrush(frontFill);
    p.drawRect(QRectF(7.5, 7.5, 11, 9));
    p.fillRect(QRectF(8, 8, 10, 3), titleBar);
}

}  // namespace

AlwaysOnTop::AlwaysOnTop(QWidget* parent)
    : QWidget(parent),
      m_disabled(makePicture(this, "AOT_Disabled", Look::Normal)),
      m_mouseMove(makePicture(this, "AOT_MouseMove", Look::Highlighted)),
      m_enabled(makePicture(this, "AOT_Enabled", Look::Active))
{
    setToolTip(QStringLiteral("Always on top"));
    // Any resize by the host snaps back to this size.
    setFixedSize(kWidth, kHeight);
    showLook(Look::Normal);
}

QPixmap AlwaysOnTop::picture(Look look)
{
    QPixmap pm(kWidth, kHeight);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    const QRectF face(0.5, 0.5, kWidth - 1, kHeight - 1);
    switch (look) {
    case Look::Normal:
        drawWindows(p, QColor(0x80, 0x80, 0x80), QColor(0xf4, 0xf4, 0xf4), QColor(0x9a, 0x9a, 0x9a));
        break;
    case Look::Highlighted:
        p.setPen(QColor(0x7f, 0xa7, 0xd6));
        p.setBrush(QColor(0xe3, 0xee, 0xfa));
        p.drawRoundedRect(face, 3, 3);
        drawWindows(p, QColor(0x2f, 0x6f, 0xb8), Qt::white, QColor(0x6f, 0x9f, 0xd8));
        break;
    case Look::Active:
        // Pressed in: a darker face, the front window filled.
        p.setPen(QColor(0x2a, 0x55, 0x8c));
        p.setBrush(QColor(0xc4, 0xd6, 0xec));
        p.drawRoundedRect(face, 3, 3);
        drawWindows(p, QColor(0x1d, 0x4f, 0x91), QColor(0x2f, 0x6f, 0xb8), QColor(0x1d, 0x4f, 0x91));
        break;
    }
    return pm;
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
    if (m_look == Look::Highlighted)
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
    if (!click)
        return;
    if (m_isOnTop)
        SetToNormal();
    else
        SetToTop();
}
