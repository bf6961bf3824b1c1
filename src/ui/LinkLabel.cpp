#include "ui/LinkLabel.h"

#include "ui/Contrast.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include <utility>

namespace ui {

LinkLabel::LinkLabel(QLabel* label, std::function<void()> open) : QObject(label), m_label(label), m_open(std::move(open))
{
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    // Some dark palettes keep a link colour that is too dark to read on their window colour.
    QPalette palette = label->palette();
    palette.setColor(QPalette::Link, ui::contrast::visibleOn(palette.color(QPalette::Link), palette.color(QPalette::Window),
                                                             palette.color(QPalette::WindowText), ui::contrast::kText));
    label->setPalette(palette);
    label->setForegroundRole(QPalette::Link);
    label->setCursor(Qt::PointingHandCursor);
    label->setFocusPolicy(Qt::TabFocus);
    label->setAccessibleDescription(QStringLiteral("Link: ") + label->toolTip());
    label->installEventFilter(this);
}

bool LinkLabel::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // A press dragged off the label before its release is no click.
        if (mouse->button() != Qt::LeftButton || !m_label->rect().contains(mouse->position().toPoint()))
            return false;
        m_open();
        return true;
    }
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool activates = key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!activates || key->isAutoRepeat() || key->modifiers() & ~Qt::KeypadModifier)
            return false;
        m_open();
        return true;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        // The focus shows as a highlighted link.
        showFocus(event->type() == QEvent::FocusIn);
        return false;
    default:
        return false;
    }
}

void LinkLabel::showFocus(bool focused)
{
    m_label->setAutoFillBackground(focused);
    m_label->setBackgroundRole(focused ? QPalette::Highlight : QPalette::Window);
    m_label->setForegroundRole(focused ? QPalette::HighlightedText : QPalette::Link);
}

}  // namespace ui
