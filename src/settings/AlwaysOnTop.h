#pragma once
// A small image button that keeps the window holding it above all others, shows which state is in force,
// highlights itself under the mouse and stores the state under "AlwaysOnTop"/"OnTop". Tab reaches it and
// Space or Enter switches it; screen readers see a check box.
#include "ui/ButtonPictures.h"

#include <QWidget>

class QLabel;

class AlwaysOnTop : public QWidget {
    Q_OBJECT
public:
    // Its three pictures; exactly one is shown at a time.
    using Look = ui::OnTopLook;

    static constexpr int kWidth = ui::kOnTopPictureSize.width();    // 315 twips
    static constexpr int kHeight = ui::kOnTopPictureSize.height();  // 300 twips

    explicit AlwaysOnTop(QWidget* parent = nullptr);

    bool GetIsOnTop() const { return m_isOnTop; }
    // What a click does in the normal (SetToTop) or on-top (SetToNormal) state; saveSettings stores once more.
    void SetToTop(bool saveSettings = false);
    void SetToNormal(bool saveSettings = false);
    void SaveSettings();
    // Applies the stored state; nothing stored means on top.
    void LoadSettings();

    Look look() const { return m_look; }

Q_SIGNALS:
    void switched(bool onTop);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showLook(Look look);
    void applyToWindow();
    void click();

    bool m_isOnTop = false;
    bool m_pressed = false;
    Look m_look = Look::Normal;
    QLabel* m_disabled;   // AOT_Disabled
    QLabel* m_mouseMove;  // AOT_MouseMove
    QLabel* m_enabled;    // AOT_Enabled
};
