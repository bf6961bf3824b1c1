#include "mainwindow/Toolbars.h"

#include "mainwindow/MainWindowUi.h"
#include "mainwindow/NameTextEdit.h"
#include "settings/SettingsKeys.h"
#include "ui/Twips.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QMainWindow>
#include <QToolButton>

namespace {

// Room the toolbars take from the work area, and the margins around it (twips).
constexpr int kUpperToolbarRoom = 1100;
constexpr int kLowerToolbarRoom = 2000;
constexpr int kWorkAreaTop = 2350;
constexpr int kWorkAreaMarginsWithoutLowerToolbar = 3300;
constexpr int kListTallerBy = 60;
constexpr int kListRightMargin = 300;
constexpr int kTextModeRightMargin = 250;
constexpr int kDirectoryModeRightMargin = 380;
constexpr int kShowLowerButtonAboveBottom = 1200;
constexpr int kResetLowerToolbarLeft = 60;
// Below this outer size the window is left as it is.
constexpr int kMinWidth = 1000;
constexpr int kMinHeight = 3300;

}  // namespace

Toolbars::Toolbars(QMainWindow* window, MainWindowUi& ui) : m_window(window), m_ui(ui) {}

void Toolbars::fitToWindow()
{
    const QRect outer = m_window->frameGeometry();
    const int W = twips::fromPixels(outer.width());
    const int H = twips::fromPixels(outer.height());
    if (W < kMinWidth || H < kMinHeight)
        return;
    auto setHeight = [](QWidget* w, int t) { w->resize(w->width(), qMax(0, twips::toPixels(t))); };
    auto setWidth = [](QWidget* w, int t) { w->resize(qMax(0, twips::toPixels(t)), w->height()); };
    auto heightOf = [](QWidget* w) { return twips::fromPixels(w->height()); };
    auto widthOf = [](QWidget* w) { return twips::fromPixels(w->width()); };
    NameTextEdit* mit = m_ui.nameTextDirectoryMode;
    NameTextEdit* ohne = m_ui.nameTextTextMode;
    QWidget* list = m_ui.originalList;
    QWidget* lower = m_ui.lowerToolbar;

    int textHeight = lower->isVisibleTo(m_window) ? H - kWorkAreaTop - kLowerToolbarRoom : H - kWorkAreaMarginsWithoutLowerToolbar;
    if (!m_ui.upperToolbar->isVisibleTo(m_window))
        textHeight += kUpperToolbarRoom;
    setHeight(ohne, textHeight);
    setHeight(mit, heightOf(ohne));
    if (list->isVisibleTo(m_window)) {
        const int w = W - widthOf(list) - kListRightMargin;
        setWidth(mit, w);
        setWidth(ohne, w);
        list->move(ohne->x() + ohne->width(), list->y());
        setHeight(list, heightOf(ohne) + kListTallerBy);
    } else {
        setWidth(ohne, W - kTextModeRightMargin);
        setWidth(mit, W - kDirectoryModeRightMargin);
        ohne->move(mit->x(), ohne->y());
    }
    m_ui.originalCaption->move(list->x(), m_ui.originalCaption->y());
    if (lower->isVisibleTo(m_window))
        lower->move(lower->x(), twips::toPixels(H - kLowerToolbarRoom));
    setWidth(m_ui.upperToolbar, W);
    setWidth(lower, W);
    m_ui.showLowerToolbar->move(m_ui.showLowerToolbar->x(), twips::toPixels(H - kShowLowerButtonAboveBottom));
    // The name text reaches a little below the lower toolbar's top edge; the toolbar stays in front.
    lower->raise();
    m_ui.showLowerToolbar->raise();
}

void Toolbars::hideUpper()
{
    if (!m_ui.upperToolbar->isVisibleTo(m_window))
        return;
    const int d = twips::toPixels(kUpperToolbarRoom);
    NameTextEdit* mit = m_ui.nameTextDirectoryMode;
    m_ui.upperToolbar->hide();
    mit->setGeometry(mit->x(), mit->y() - d, mit->width(), mit->height() + d);
    m_ui.nameTextTextMode->setGeometry(m_ui.nameTextTextMode->x(), mit->y(), m_ui.nameTextTextMode->width(), mit->height());
    m_ui.originalCaption->move(m_ui.originalCaption->x(), m_ui.originalCaption->y() - d);
    QWidget* list = m_ui.originalList;
    list->setGeometry(list->x(), list->y() - d, list->width(), list->height() + d);
    m_ui.nameTextCaption->move(m_ui.nameTextCaption->x(), m_ui.nameTextCaption->y() - d);
    m_ui.resetToolbars->show();
    fitToWindow();
}

void Toolbars::hideLower()
{
    if (!m_ui.lowerToolbar->isVisibleTo(m_window))
        return;
    const int d = twips::toPixels(kLowerToolbarRoom);
    NameTextEdit* mit = m_ui.nameTextDirectoryMode;
    m_ui.lowerToolbar->hide();
    m_ui.originalList->resize(m_ui.originalList->width(), m_ui.originalList->height() + d);
    mit->resize(mit->width(), mit->height() + d);
    m_ui.nameTextTextMode->resize(m_ui.nameTextTextMode->width(), mit->height());
    fitToWindow();
    m_ui.showLowerToolbar->show();
    m_ui.resetToolbars->show();
}

void Toolbars::showLower()
{
    const int d = twips::toPixels(kLowerToolbarRoom);
    NameTextEdit* mit = m_ui.nameTextDirectoryMode;
    if (!m_ui.lowerToolbar->isVisibleTo(m_window)) {
        m_ui.lowerToolbar->show();
        m_ui.originalList->resize(m_ui.originalList->width(), m_ui.originalList->height() - d);
        mit->resize(mit->width(), mit->height() - d);
    }
    m_ui.nameTextTextMode->setGeometry(m_ui.nameTextTextMode->x(), mit->y(), m_ui.nameTextTextMode->width(), mit->height());
    fitToWindow();
    m_ui.showLowerToolbar->hide();
}

void Toolbars::showBoth()
{
    NameTextEdit* mit = m_ui.nameTextDirectoryMode;
    QWidget* list = m_ui.originalList;
    m_ui.resetToolbars->setEnabled(false);
    if (!m_ui.upperToolbar->isVisibleTo(m_window)) {
        const int d = twips::toPixels(kUpperToolbarRoom);
        m_ui.upperToolbar->show();
        mit->setGeometry(mit->x(), mit->y() + d, mit->width(), mit->height() - d);
        m_ui.originalCaption->move(m_ui.originalCaption->x(), m_ui.originalCaption->y() + d);
        list->move(list->x(), list->y() + d);
        list->resize(list->width(), mit->height());
        m_ui.nameTextCaption->move(m_ui.nameTextCaption->x(), m_ui.nameTextCaption->y() + d);
    }
    m_ui.lowerToolbar->move(twips::toPixels(kResetLowerToolbarLeft), m_ui.lowerToolbar->y());
    if (!m_ui.lowerToolbar->isVisibleTo(m_window)) {
        const int d = twips::toPixels(kLowerToolbarRoom);
        m_ui.lowerToolbar->show();
        list->resize(list->width(), list->height() - d);
        mit->resize(mit->width(), mit->height() - d);
        m_ui.showLowerToolbar->hide();
    }
    m_ui.nameTextTextMode->setGeometry(m_ui.nameTextTextMode->x(), mit->y(), m_ui.nameTextTextMode->width(), mit->height());
    m_ui.resetToolbars->hide();
    m_ui.resetToolbars->setEnabled(true);
    fitToWindow();
}

void Toolbars::hideUpperOnly()
{
    m_ui.upperToolbar->hide();
}

void Toolbars::applyStoredState()
{
    if (!settings::read(settings::keys::kUpperToolbarVisible))
        hideUpper();
    if (!settings::read(settings::keys::kLowerToolbarVisible))
        hideLower();
    else
        m_ui.showLowerToolbar->hide();
}

void Toolbars::storeState() const
{
    settings::write(settings::keys::kUpperToolbarVisible, m_ui.upperToolbar->isVisibleTo(m_window));
    settings::write(settings::keys::kLowerToolbarVisible, m_ui.lowerToolbar->isVisibleTo(m_window));
}
