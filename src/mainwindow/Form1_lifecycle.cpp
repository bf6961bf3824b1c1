// Start-up, choosing a directory, options and leaving the program.
#include "mainwindow/Form1.h"

#include "chooser/Browser.h"
#include "mainwindow/FehlerDialog.h"
#include "mainwindow/Messenger.h"
#include "mainwindow/NameTextEdit.h"
#include "mainwindow/ToolFrames.h"
#include "settings/AppDefOps.h"
#include "settings/Twips.h"
#include "settings/WindowPlacement.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QWindow>

namespace {
const QString kOptions = QStringLiteral("Options");
}

void Form1::wireCommands()
{
    connect(m_verzeichnis, &QPushButton::clicked, this, &Form1::Verzeichnis_Click);
    connect(m_menNeuesVerzeichnis, &QAction::triggered, this, [this] {
        if (m_verzeichnis->isEnabledTo(this))
            Verzeichnis_Click();
    });
    connect(m_abbruch, &QPushButton::clicked, this, &Form1::Abbruch_Click);
    connect(m_menAbbruch, &QAction::triggered, this, &Form1::Abbruch_Click);
    connect(m_showMessageBox, &QAction::triggered, this, &Form1::ShowMessageBox_Click);
    connect(m_menAlwaysOnTop, &QAction::triggered, this, &Form1::MenAlwaysOnTop_Click);
    connect(m_alwaysOnTop, &QCheckBox::toggled, this, &Form1::AlwaysOnTop_Change);
    connect(m_menTip, &QAction::triggered, this, &Form1::MenTip_Click);
    connect(m_closeFrame, &QPushButton::clicked, this, &Form1::CloseFrame_Click);
    connect(m_closeFrame2, &QToolButton::clicked, this, &Form1::CloseFrame2_Click);
    connect(m_showControlsDialogButton, &QToolButton::clicked, this, &Form1::ShowControlsDialogButton_Click);
    connect(m_command18, &QToolButton::clicked, this, &Form1::Command18_Click);
    connect(m_menFrameAusblenden, &QAction::triggered, this, &Form1::CloseFrame_Click);
    connect(m_menUntereToolleiste, &QAction::triggered, this, &Form1::CloseFrame2_Click);
    connect(m_menResetFrames, &QAction::triggered, this, &Form1::Command18_Click);
}

void Form1::Form_Load(const QString& commandLinePath)
{
    m_menuVersion->setText(QStringLiteral("Version: ") + GetVersion());
    const QString messages = AppDefOps::GetAppSetting(kOptions, QStringLiteral("Messageboxen"), QStringLiteral("0")).toString();
    m_showMessageBox->setChecked(messages.trimmed().toInt() == 0);
    fillCdLists();
    const QString clip = QApplication::clipboard()->text();
    if (!clip.isEmpty())
        m_text9->setText(clip);
    m_batchFlag = false;
    m_batchTotal = 0;
    m_matchCase = false;
    m_nameBox = m_eingabeMit;
    set_Startpfad(QDir::currentPath());
    AppDefOps::LoadWindowPos(objectName());

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
    m_origNamen->setEnabled(false);
    syncRestoreMenu();
    if (!AppDefOps::toBool(AppDefOps::GetAppSetting(QStringLiteral("Frame"), QStringLiteral("Visible"), false)))
        CloseFrame_Click();
    if (!AppDefOps::toBool(AppDefOps::GetAppSetting(QStringLiteral("ControlsFrame"), QStringLiteral("Visible"), true)))
        CloseFrame2_Click();
    else
        m_showControlsDialogButton->hide();
    m_erweiterungsFrame->move(twips::toPixels(10), m_erweiterungsFrame->y());
    Form_Resize();
    m_eingabeMit->move(m_eingabeMit->x(), m_original->y());
    m_nameBox = m_eingabeMit;
    m_eingabeOhne->hide();
    m_eingabeMit->show();
    const QString sync = AppDefOps::GetAppSetting(QStringLiteral("SyncListBoxen"), QStringLiteral("Enabled"), QStringLiteral("0")).toString();
    m_disableSync->setChecked(sync != QLatin1String("0"));
}

void Form1::fillCdLists()
{
    QComboBox* cd1 = m_frame4->cdCombo();
    QComboBox* cd2 = m_frame6->cdCombo();
    cd1->clear();
    cd2->clear();
    for (int i = 1; i <= 30; ++i) {
        if (i <= 9) {
            cd1->addItem(QStringLiteral("CD%1-").arg(i));
            cd2->addItem(QStringLiteral("CD0%1-").arg(i));
        } else {
            cd2->addItem(QStringLiteral("CD%1-").arg(i));
        }
    }
    cd1->setCurrentIndex(0);
    cd2->setCurrentIndex(0);
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
    m_browser = new Browser(this, m_firstStart);
    m_firstStart = false;  // from here on the chooser's own box holds it
    const int generation = ++m_chooserGeneration;
    connect(m_browser, &QObject::destroyed, this, [this, generation] {
        // Every way out of the chooser gives the main window back (unless a newer chooser is open).
        if (generation == m_chooserGeneration)
            setEnabled(true);
    });
    m_browser->winId();
    if (m_browser->windowHandle() && windowHandle())
        m_browser->windowHandle()->setTransientParent(windowHandle());
    m_browser->show();
    m_browser->raise();
    m_browser->activateWindow();
}

void Form1::Verzeichnis_Click()
{
    if (m_modified) {
        const ui::Answer a = ui::message(
            this,
            QStringLiteral("Achtung die Änderungen und die Recover-Möglichkeit (Original Namen) werden dadurch verworfen! "
                           "Möchten sie trotzdem fortfahren?"),
            QStringLiteral("Änderungen verwerfen?"), ui::Buttons::YesNo);
        if (a != ui::Answer::Yes)
            return;
    }
    m_firstStart = false;
    if (m_browser)
        m_browser->setFirstStart(false);
    m_nummerieren->setText(QStringLiteral("Nummerieren"));
    setEnabled(false);
    showChooser();
}

void Form1::saveToolbarState()
{
    AppDefOps::SaveAppSetting(QStringLiteral("Frame"), QStringLiteral("Visible"), m_erweiterungsFrame->isVisibleTo(this));
    AppDefOps::SaveAppSetting(QStringLiteral("ControlsFrame"), QStringLiteral("Visible"), m_controlsFrame->isVisibleTo(this));
}

void Form1::Abbruch_Click()
{
    AppDefOps::SaveWindowPos(objectName());
    saveToolbarState();
    AppDefOps::SaveAppSetting(QStringLiteral("SyncListBoxen"), QStringLiteral("Enabled"),
                              m_disableSync->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    m_exiting = true;
    if (m_browser)
        m_browser->closeSilently();
    if (m_fehler)
        m_fehler->close();
    ui::endProgram();
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (m_exiting) {
        event->accept();
        return;
    }
    saveToolbarState();
    if (m_setzen->isEnabledTo(this)) {
        const ui::Answer a = ui::message(this, QStringLiteral("Sie haben die Namen noch nicht gesetzt! Möchten sie trotzdem Beenden?"),
                                         QStringLiteral("Noch nicht gespeichert!"), ui::Buttons::YesNo, ui::Icon::Information);
        if (a != ui::Answer::Yes) {
            event->ignore();
            return;
        }
    }
    m_exiting = true;
    if (m_browser)
        m_browser->closeSilently();
    if (m_fehler)
        m_fehler->close();
    event->accept();
}

void Form1::OpenDroppedPath(const QString& given)
{
    // A relative argument is taken from the current directory, once, before anything can move it.
    QString path = given.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(given).absoluteFilePath());
    const QFileInfo info(path);
    if (!path.isEmpty() && !info.isDir()) {
        // A file (or a name that does not exist) opens the directory that holds it.
        path = QDir::cleanPath(QDir::fromNativeSeparators(path));
        const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
        path = cut > 0 ? path.left(cut) : (cut == 0 ? QStringLiteral("/") : QString());
        if (!path.isEmpty() && !QFileInfo(path).isDir())
            path.clear();
    }
    set_Startpfad(QDir::currentPath());
    AppDefOps::LoadWindowPos(objectName());
    if (!path.isEmpty()) {
        set_Startpfad(path);
        InitializeMe();
        show();
        setRenameEnabled(false);
        m_origNamen->setEnabled(false);
    } else {
        // Nothing that can be opened: the chooser over a visible window, never a hidden one.
        show();
        m_firstStart = false;
        showChooser();
        InitializeMe();
        setEnabled(false);
        setRenameEnabled(false);
        m_origNamen->setEnabled(false);
    }
    syncRestoreMenu();
    if (m_originalNames.isEmpty())
        m_eingabeOhne->setText(QString());
}

void Form1::DragADirectory(const QString& firstPath)
{
    AppDefOps::SaveWindowPos(objectName());
    OpenDroppedPath(firstPath);
    if (m_browser && m_browser->isVisible() && !firstPath.isEmpty()) {
        m_browser->setFirstStart(false);
        m_browser->closeSilently();
    }
}

void Form1::ShowOnTop(bool onTop)
{
    placement::setStayOnTop(this, onTop);
}

void Form1::ShowMessageBox_Click()
{
    // The check mark is the option; the stored text is "0" for checked so that a first start has it on.
    AppDefOps::SaveAppSetting(kOptions, QStringLiteral("Messageboxen"),
                              m_showMessageBox->isChecked() ? QStringLiteral("0") : QStringLiteral("1"));
}

void Form1::MenAlwaysOnTop_Click()
{
    // The action has already flipped its check mark; the hidden box follows it.
    m_alwaysOnTop->setChecked(m_menAlwaysOnTop->isChecked());
}

void Form1::AlwaysOnTop_Change(bool checked)
{
    AppDefOps::SaveAppSetting(kOptions, QStringLiteral("OnTop"), checked ? QStringLiteral("1") : QStringLiteral("0"));
    ShowOnTop(checked);
}

void Form1::setAlwaysOnTopBox(bool checked)
{
    m_alwaysOnTop->setChecked(checked);
    m_menAlwaysOnTop->setChecked(checked);
}

void Form1::hideErweiterungsFrame()
{
    m_erweiterungsFrame->hide();
}

bool Form1::alwaysOnTopBox() const
{
    return m_alwaysOnTop->isChecked();
}

void Form1::MenTip_Click()
{
    ui::message(this,
                QStringLiteral("'^P' kann (wie in Winword) beim Ersetzen benutzt werden um Zeilenumbrüche zu ersetzen / einzufügen\r"
                               "Die CD-Combo-Box wird bei jedem Umbennen eins hochgezählt\r"
                               "Unter Optionen können die Meldungen (Messageboxen) reduziert werden\r\r"
                               "NEU: '*' kann beim Suchen & Ersetzen als Platzhalter benutzt werden!"),
                QStringLiteral("Tips.."), ui::Buttons::Ok, ui::Icon::Information);
}

void Form1::CheckAutoCDAdd()
{
    if (m_frame4->autoCheck()->isChecked())
        Command19_Click();
}

Browser* Form1::chooser() const
{
    return m_browser;
}
