#pragma once
// The four bands of the main window: the work area grows into the space of a hidden toolbar, and both
// toolbars can be hidden, shown and reset. The places come from the band layout; this class measures the
// window and the controls' captions, and applies them.
#include <QList>
#include <QPair>
#include <QRect>

class QMainWindow;
class QWidget;
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

    // The stored visibility, applied at start-up and stored when the window closes.
    void applyStoredState();
    void storeState() const;

private:
    // Widens the tool frames of a row to their captions; returns the right edge of the last one.
    int fitToolRow(const QList<QWidget*>& frames, const QList<QRect>& designTwips);
    // Lays out the lower toolbar's controls for the inner width; returns the height they need.
    int fitLowerToolbar(int innerWidth);

    QMainWindow* m_window;
    MainWindowUi& m_ui;
    QList<QPair<QWidget*, QRect>> m_lowerDesign;  // the lower toolbar's controls at their design places
};
