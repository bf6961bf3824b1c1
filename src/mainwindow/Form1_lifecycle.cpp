// Start-up, choosing a directory, options and leaving the program.
#include "mainwindow/Form1.h"

#include "chooser/Browser.h"
#include "mainwindow/FehlerDialog.h"
#include "mainwindow/MainWindowUi.h"
#include "mainwindow/NameMarks.h"
#include "mainwindow/Messages.h"
#include "mainwindow/NameTextEdit.h"
#include "mainwindow/ToolCommands.h"
#include "mainwindow/Toolbars.h"
#include "settings/AppDefOps.h"
#include "settings/SettingsKeys.h"
#include "settings/WindowPlacement.h"
#include "ui/Messenger.h"
#include "ui/NoteListView.h"
#include "ui/Twips.h"
#include "ui/Version.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QToolButton>
#include <QWindow>

namespace {

// The size and place "Standardwerte zurücksetzten" gives the window (twips).
constexpr int kStandardWidth = 9950;
constexpr int kStandardHeight = 5830;
constexpr int kStandardLeft = 100;
constexpr int kStandardTop = 100;

}  // namespace

Form1::Form1(QWidget* parent) : QMainWindow(parent), m_ui(std::make_unique<MainWindowUi>(this))
{
    setWindowTitle(ui::appTitle());
    m_nameBox = m_ui->nameTextDirectoryMode;
    m_toolbars = std::make_unique<Toolbars>(this, *m_ui);
    ToolCommands::Host host;
    host.nameBox = [this] { return m_nameBox; };
    host.entryCount = [this] { return qint64(m_names.names().size()); };
    host.fewerMessages = [this] { return m_ui->fewerMessages->isChecked(); };
    host.lockButtons = [this](bool lock) { ElementeSperren(lock); };
    host.allowRestore = [this] { setRestoreEnabled(true); };
    host.buttonsLocked = [this] { return m_locked; };
    m_tools = new ToolCommands(this, *m_ui, std::move(host));
    m_marks = new NameMarks(m_ui->nameTextDirectoryMode, m_ui->nameTextCaption, m_ui->rename, this);
    wire();
}

Form1::~Form1()
{
    // The chooser is a window of its own.
    delete m_browser.data();
    // Controls go after this object's own members: nothing they send on the way may reach it.
    delete m_marks;
    delete m_tools;
    m_ui->nameTextDirectoryMode->disconnect(this);
    m_ui->nameTextTextMode->disconnect(this);
}

void Form1::wire()
{
    MainWindowUi& u = *m_ui;
    connect(u.nameTextDirectoryMode, &NameTextEdit::changed, this, &Form1::Eingabe_Mit_Change);
    connect(u.nameTextTextMode, &NameTextEdit::changed, this, &Form1::Eingabe_Ohne_Change);
    connect(u.originalList, &QListView::doubleClicked, this, [this](const QModelIndex& i) { Original_DblClick(i.row()); });
    connect(u.rename, &QPushButton::clicked, this, &Form1::Setzen_Click);
    connect(u.menuRename, &QAction::triggered, this, [this] {
        if (m_ui->menuRename->isEnabled())
            Setzen_Click();
    });
    connect(u.menuUndoLastRename, &QAction::triggered, this, &Form1::MenLetzteUmbenennungRueckgaengig_Click);
    connect(u.restoreNames, &QPushButton::clicked, this, &Form1::OrigNamen_Click);
    connect(u.menuRestoreNames, &QAction::triggered, this, [this] {
        if (m_ui->menuRestoreNames->isEnabled())
            OrigNamen_Click();
    });
    connect(u.chooseDirectory, &QPushButton::clicked, this, &Form1::Verzeichnis_Click);
    connect(u.menuChooseDirectory, &QAction::triggered, this, [this] {
        if (m_ui->chooseDirectory->isEnabledTo(this))
            Verzeichnis_Click();
    });
    connect(u.exit, &QPushButton::clicked, this, &Form1::Abbruch_Click);
    connect(u.menuExit, &QAction::triggered, this, &Form1::Abbruch_Click);
    // The check mark is the option.
    connect(u.fewerMessages, &QAction::triggered, this,
            [this] { settings::write(settings::keys::kFewerMessages, m_ui->fewerMessages->isChecked()); });
    // The action has already flipped its check mark; the hidden box follows it.
    connect(u.menuAlwaysOnTop, &QAction::triggered, this, [this] { m_ui->alwaysOnTop->setChecked(m_ui->menuAlwaysOnTop->isChecked()); });
    connect(u.alwaysOnTop, &QCheckBox::toggled, this, [this](bool checked) {
        settings::write(settings::keys::kOnTop, checked);
        ShowOnTop(checked);
    });
    connect(u.menuTips, &QAction::triggered, this,
            [this] { ui::message(this, msg::tips(), msg::tipsTitle(), ui::Buttons::Ok, ui::Icon::Information); });
    connect(u.hideUpperToolbar, &QPushButton::clicked, this, &Form1::CloseFrame_Click);
    connect(u.hideLowerToolbar, &QToolButton::clicked, this, &Form1::CloseFrame2_Click);
    connect(u.showLowerToolbar, &QToolButton::clicked, this, &Form1::ShowControlsDialogButton_Click);
    connect(u.resetToolbars, &QToolButton::clicked, this, &Form1::Command18_Click);
    connect(u.menuHideUpperToolbar, &QAction::triggered, this, &Form1::CloseFrame_Click);
    connect(u.menuHideLowerToolbar, &QAction::triggered, this, &Form1::CloseFrame2_Click);
    connect(u.menuResetToolbars, &QAction::triggered, this, &Form1::Command18_Click);
    wireWindowBehaviour();
    wireTextMode();
}

void Form1::Form_Load(const QString& commandLinePath)
{
    m_ui->version->setText(QStringLiteral("Version: ") + ui::programVersion());
    m_ui->fewerMessages->setChecked(settings::read(settings::keys::kFewerMessages));
    m_tools->fillCdLists();
    const QString clip = QApplication::clipboard()->text();
    if (!clip.isEmpty())
        m_ui->pasteBox->setText(clip);
    m_nameBox = m_ui->nameTextDirectoryMode;
    set_Startpfad(QDir::currentPath());
    AppDefOps::LoadWindowPos(objectName());
    m_ui->disableSync->setChecked(settings::read(settings::keys::kSyncDisabled));

    if (!commandLinePath.isEmpty()) {
        OpenDroppedPath(commandLinePath);
        return;
    }
    m_firstStart = true;
    showChooser();
    InitializeMe();
    setEnabled(false);
    if (m_browser)
        m_browser->setEnabled(true);
    setRenameEnabled(false);
    setRestoreEnabled(false);
    m_toolbars->applyStoredState();
    Form_Resize();
    m_nameBox = m_ui->nameTextDirectoryMode;
    m_ui->nameTextTextMode->hide();
    m_ui->nameTextDirectoryMode->show();
}

void Form1::showChooser()
{
    if (m_browser && !m_browser->isClosing()) {
        m_browser->raise();
        m_browser->activateWindow();
        return;
    }
    if (!isVisible())
        show();  // the chooser opens over the main window, never behind it
    m_browser = new Browser(m_names.startPath(), m_firstStart, m_lastFolder);
    m_firstStart = false;  // from here on the chooser's own box holds it
    Browser* b = m_browser;
    connect(b, &Browser::onTopRequested, this, [this] { setAlwaysOnTop(true); });
    connect(b, &Browser::autoCdRequested, m_tools, &ToolCommands::addCdPrefixIfAuto);
    connect(b, &Browser::directoryChosen, this, [this](const QString& dir) {
        set_Startpfad(dir);
        InitializeMe();
        setEnabled(true);
    });
    connect(b, &Browser::standardValuesRequested, this, &Form1::applyStandardValues);
    connect(b, &Browser::upperToolbarHideRequested, this, &Form1::CloseFrame_Click);
    connect(b, &Browser::cancelled, this, [this] {
        setEnabled(true);
        InitializeMe();
    });
    connect(b, &Browser::pathDropped, this, &Form1::DragADirectory);
    connect(b, &Browser::released, this, [this] { setEnabled(true); });
    const int generation = ++m_chooserGeneration;
    connect(b, &QObject::destroyed, this, [this, generation] {
        // Every way out of the chooser gives the main window back (unless a newer chooser is open).
        if (generation == m_chooserGeneration)
            setEnabled(true);
    });
    b->winId();
    if (b->windowHandle() && windowHandle())
        b->windowHandle()->setTransientParent(windowHandle());
    b->show();
    b->raise();
    b->activateWindow();
}

void Form1::applyStandardValues()
{
    if (alwaysOnTopBox())
        setAlwaysOnTop(false);
    const QSize margins = frameGeometry().size() - geometry().size();
    resize(twips::toPixels(kStandardWidth) - margins.width(), twips::toPixels(kStandardHeight) - margins.height());
    move(twips::toPixels(kStandardLeft), twips::toPixels(kStandardTop));
}

void Form1::Verzeichnis_Click()
{
    if (m_names.isModified()) {
        const ui::Answer a = ui::message(this, msg::discardChangesQuestion(), msg::discardChangesTitle(), ui::Buttons::YesNo);
        if (a != ui::Answer::Yes)
            return;
    }
    m_firstStart = false;
    if (m_browser)
        m_browser->setFirstStart(false);
    m_ui->number->setText(QStringLiteral("Nummerieren"));
    setEnabled(false);
    showChooser();
}

void Form1::releaseChooser()
{
    m_exiting = true;
    if (m_browser)
        m_browser->closeSilently();
    if (m_fehler)
        m_fehler->close();
}

void Form1::Abbruch_Click()
{
    AppDefOps::SaveWindowPos(objectName());
    m_toolbars->storeState();
    settings::write(settings::keys::kSyncDisabled, m_ui->disableSync->isChecked());
    releaseChooser();
    ui::endProgram();
}

void Form1::closeEvent(QCloseEvent* event)
{
    // A folder being read stops at the load's next turn of the event loop.
    m_closedWhileLoading = m_loading;
    if (m_exiting) {
        event->accept();
        return;
    }
    m_toolbars->storeState();
    if (m_loading) {
        // Nothing is edited while a folder is read: nothing to ask.
        releaseChooser();
        event->accept();
        return;
    }
    if (m_ui->rename->isEnabledTo(this)) {
        const ui::Answer a = ui::message(this, msg::closeWithoutRenameQuestion(), msg::closeWithoutRenameTitle(),
                                         ui::Buttons::YesNo, ui::Icon::Information);
        if (a != ui::Answer::Yes) {
            event->ignore();
            return;
        }
    }
    releaseChooser();
    event->accept();
}

void Form1::ShowOnTop(bool onTop)
{
    placement::setStayOnTop(this, onTop);
}

void Form1::setAlwaysOnTop(bool onTop)
{
    if (onTop)
        ShowOnTop(true);
    m_ui->alwaysOnTop->setChecked(onTop);
    m_ui->menuAlwaysOnTop->setChecked(onTop);
}

bool Form1::alwaysOnTopBox() const
{
    return m_ui->alwaysOnTop->isChecked();
}

Browser* Form1::chooser() const
{
    return m_browser;
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void Form1::Form_Resize()
{
    if (m_toolbars)  // the first resize comes while the controls are being made
        m_toolbars->fitToWindow();
}
void Form1::CloseFrame_Click() { m_toolbars->hideUpper(); }
void Form1::CloseFrame2_Click() { m_toolbars->hideLower(); }
void Form1::ShowControlsDialogButton_Click() { m_toolbars->showLower(); }
void Form1::Command18_Click() { m_toolbars->showBoth(); }
