#pragma once
// The four bands of the main window: the work area grows into the space of a hidden toolbar, and both
// toolbars can be hidden, shown and reset. Lengths are worked out in twips on the window's outer size.
class QMainWindow;
struct MainWindowUi;

class Toolbars {
public:
    Toolbars(QMainWindow* window, MainWindowUi& ui);

    // Fits the work area and the toolbars to the window's size.
    void fitToWindow();
    void hideUpper();        // CloseFrame
    void hideLower();        // CloseFrame2
    void showLower();        // ShowControlsDialogButton
    void showBoth();         // Command18
    // Hides the upper toolbar and nothing else moves (the chooser's first-start rule).
    void hideUpperOnly();

    // The stored visibility, applied at start-up and stored when the window closes.
    void applyStoredState();
    void storeState() const;

private:
    QMainWindow* m_window;
    MainWindowUi& m_ui;
};
