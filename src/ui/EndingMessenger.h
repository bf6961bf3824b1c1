#pragma once
// A messenger that lets the window run its last steps before the program ends at once (an update).
#include "ui/Messenger.h"

#include <functional>
#include <utility>

namespace ui {

// Passes everything on; before the program ends it lets `beforeEnd` run, so the window can go without
// its closing steps.
class EndingMessenger final : public Messenger {
public:
    EndingMessenger(Messenger& inner, std::function<void()> beforeEnd)
        : m_inner(inner), m_beforeEnd(std::move(beforeEnd))
    {
    }
    Answer show(QWidget* parent, const QString& text, const QString& title, Buttons buttons, Icon icon) override
    {
        return m_inner.show(parent, text, title, buttons, icon);
    }
    void showDetails(QWidget* parent, const QString& text, const QString& details, const QString& title,
                     Icon icon) override
    {
        m_inner.showDetails(parent, text, details, title, icon);
    }
    void beep() override { m_inner.beep(); }
    void endProgram() override
    {
        m_beforeEnd();
        m_inner.endProgram();
    }

private:
    Messenger& m_inner;
    std::function<void()> m_beforeEnd;
};

}  // namespace ui
