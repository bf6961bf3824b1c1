#include "mainwindow/Toolbars.h"

#include "mainwindow/BandLayout.h"
#include "mainwindow/MainWindowUi.h"
#include "mainwindow/NameTextEdit.h"
#include "mainwindow/ToolFrames.h"
#include "settings/SettingsKeys.h"
#include "ui/FitContents.h"
#include "ui/NoteListView.h"
#include "ui/Twips.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QMainWindow>
#include <QToolButton>

#include <algorithm>

namespace {

// Design places of the tool frames (twips): the fixed row on the window, the others in the upper toolbar.
const QList<QRect> kFixedRow{QRect(120, 120, 3015, 945), QRect(3240, 120, 3735, 975), QRect(7080, 120, 1815, 945)};
const QList<QRect> kUpperRow{QRect(375, 75, 2895, 975), QRect(3240, 75, 3015, 975), QRect(6240, 75, 3015, 975),
                             QRect(9240, 75, 3015, 975), QRect(12240, 75, 2055, 975)};
// Space between controls that move into a row of their own, and below the last row (pixels).
constexpr int kWrapGapPx = 4;
constexpr int kLowerBottomMarginPx = 6;

}  // namespace

Toolbars::Toolbars(QMainWindow* window, MainWindowUi& ui) : m_window(window), m_ui(ui)
{
    for (QObject* o : m_ui.lowerToolbar->children())
        if (auto* w = qobject_cast<QWidget*>(o); w && w != m_ui.hideLowerToolbar)
            m_lowerDesign.append({w, w->geometry()});
}

int Toolbars::fitToolRow(const QList<QWidget*>& frames, const QList<QRect>& designTwips)
{
    QList<int> needed;
    for (QWidget* frame : frames)
        needed.append(ui::fitChildren(frame));
    const QList<QRect> placed = bands::fitRow(designTwips, needed);
    for (qsizetype i = 0; i < frames.size(); ++i)
        frames[i]->setGeometry(placed[i]);
    return placed.isEmpty() ? 0 : placed.last().right();
}

int Toolbars::fitLowerToolbar(int innerWidth)
{
    // From the design places every time, so that a wider window takes wrapped controls back into their rows.
    for (const auto& [w, design] : m_lowerDesign)
        w->setGeometry(design);
    ui::fitChildren(m_ui.lowerToolbar);
    QList<QWidget*> shown;
    for (const auto& entry : m_lowerDesign)
        if (!entry.first->isHidden())
            shown.append(entry.first);
    // Left to right, top to bottom: what moves keeps its reading order.
    std::stable_sort(shown.begin(), shown.end(), [](QWidget* a, QWidget* b) {
        return a->x() != b->x() ? a->x() < b->x() : a->y() < b->y();
    });
    QList<QRect> rects;
    for (QWidget* w : shown)
        rects.append(w->geometry());
    rects = bands::wrapOverflow(rects, innerWidth - kWrapGapPx, kWrapGapPx);
    int bottom = m_ui.hideLowerToolbar->geometry().bottom();
    for (qsizetype i = 0; i < shown.size(); ++i) {
        shown[i]->setGeometry(rects[i]);
        bottom = std::max(bottom, rects[i].bottom());
    }
    return bottom + 1 + kLowerBottomMarginPx;
}

void Toolbars::fitToWindow()
{
    QWidget* surface = m_ui.surface;
    const QRect outer = m_window->frameGeometry();
    const int fixedRowRight = fitToolRow({m_ui.searchFixed, m_ui.appendFixed, m_ui.cutFixed}, kFixedRow);
    fitToolRow({m_ui.searchTop, m_ui.searchTop2, m_ui.appendTop, m_ui.appendTop2, m_ui.cutTop}, kUpperRow);
    const int lowerNeeds = fitLowerToolbar(surface->width());

    bands::ScreenInput input;
    input.outerTwips = QSize(twips::fromPixels(outer.width()), twips::fromPixels(outer.height()));
    input.innerPixels = surface->size();
    input.state.upperShown = m_ui.upperToolbar->isVisibleTo(m_window);
    input.state.lowerShown = m_ui.lowerToolbar->isVisibleTo(m_window);
    input.state.mode = m_ui.originalList->isVisibleTo(m_window) ? bands::Mode::Directory : bands::Mode::Text;
    input.lowerToolbarNeededHeight = lowerNeeds;
    input.fixedRowRight = fixedRowRight;
    const std::optional<bands::BandRects> r = bands::screenLayout(input);
    if (!r)
        return;  // too small to lay out: everything stays where it is
    m_ui.nameTextDirectoryMode->setGeometry(r->eingabeMit);
    m_ui.nameTextTextMode->setGeometry(r->eingabeOhne);
    m_ui.originalList->setGeometry(r->original);
    m_ui.originalCaption->setGeometry(r->label1);
    m_ui.nameTextCaption->setGeometry(r->label2);
    m_ui.upperToolbar->setGeometry(r->erweiterungsFrame);
    m_ui.lowerToolbar->setGeometry(r->controlsFrame);
    m_ui.showLowerToolbar->setGeometry(r->showControlsDialogButton);
    m_ui.resetToolbars->setGeometry(r->command18);
    m_ui.lowerToolbar->raise();
    m_ui.showLowerToolbar->raise();
    m_ui.resetToolbars->raise();
}

void Toolbars::hideUpper()
{
    if (!m_ui.upperToolbar->isVisibleTo(m_window))
        return;
    m_ui.upperToolbar->hide();
    m_ui.resetToolbars->show();
    fitToWindow();
}

void Toolbars::hideLower()
{
    if (!m_ui.lowerToolbar->isVisibleTo(m_window))
        return;
    m_ui.lowerToolbar->hide();
    fitToWindow();
    m_ui.showLowerToolbar->show();
    m_ui.resetToolbars->show();
}

void Toolbars::showLower()
{
    m_ui.lowerToolbar->show();
    fitToWindow();
    m_ui.showLowerToolbar->hide();
}

void Toolbars::showBoth()
{
    m_ui.resetToolbars->setEnabled(false);
    m_ui.upperToolbar->show();
    m_ui.lowerToolbar->show();
    m_ui.showLowerToolbar->hide();
    m_ui.resetToolbars->hide();
    m_ui.resetToolbars->setEnabled(true);
    fitToWindow();
}

void Toolbars::applyStoredState()
{
    if (!settings::read(settings::keys::kUpperToolbarVisible))
        hideUpper();
    if (!settings::read(settings::keys::kLowerToolbarVisible))
        hideLower();
}

void Toolbars::storeState() const
{
    settings::write(settings::keys::kUpperToolbarVisible, m_ui.upperToolbar->isVisibleTo(m_window));
    settings::write(settings::keys::kLowerToolbarVisible, m_ui.lowerToolbar->isVisibleTo(m_window));
}
