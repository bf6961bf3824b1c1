// Text mode, saving and opening the name text as a text file, the update and the homepage.
#include "mainwindow/Form1.h"

#include "mainwindow/MainWindowUi.h"
#include "mainwindow/Messages.h"
#include "mainwindow/NameTextEdit.h"
#include "textmode/TextMode.h"
#include "ui/EndingMessenger.h"
#include "ui/FitContents.h"
#include "ui/LinkLabel.h"
#include "ui/Messenger.h"
#include "web/Homepage.h"
#include "web/Update.h"
#include "web/WebSite.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

void Form1::wireTextMode()
{
    MainWindowUi& u = *m_ui;
    ui::shareRoom(u.saveTextFile, u.openTextFile);
    connect(u.textMode, &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(u.saveTextFile, &QPushButton::clicked, this, &Form1::Command7_Click);
    connect(u.menuSaveTextFile, &QAction::triggered, this, &Form1::Command7_Click);
    connect(u.openTextFile, &QPushButton::clicked, this, &Form1::Command8_Click);
    connect(u.menuOpenTextFile, &QAction::triggered, this, &Form1::Command8_Click);
    // The save writes the text that is shown, so an edit in text mode makes the saved file stale as well.
    connect(u.nameTextTextMode, &NameTextEdit::changed, u.saveTextFile, [&u] { u.saveTextFile->setEnabled(true); });
    connect(u.menuDownload, &QAction::triggered, this, &Form1::Download_Click);
    connect(u.menuHomepage, &QAction::triggered, this, &Form1::Guestbook_Click);
    new ui::LinkLabel(u.updateLink, [this] { Download_Click(); });
    new ui::LinkLabel(u.homepageLink, [this] { Guestbook_Click(); });
}

void Form1::Command6_Click()
{
    // A command that lets events run meanwhile would write its result into a box that is no longer shown.
    if (m_locked)
        return;
    MainWindowUi& u = *m_ui;
    const bool toTextMode = !m_textMode;
    m_textMode = toTextMode;
    textmode::applyModeView(this, textmode::modeView(toTextMode));
    if (toTextMode) {
        Form_Resize();
        m_nameBox = u.nameTextTextMode;
        // A fresh start for the shown box: an undo must not bring back what it held in an earlier text mode.
        u.nameTextTextMode->loadText(u.nameTextDirectoryMode->text());
    } else {
        m_nameBox = u.nameTextDirectoryMode;
        // One undoable step: an undo in directory mode takes back the edits made in text mode.
        u.nameTextDirectoryMode->setText(u.nameTextTextMode->text());
        Form_Resize();
    }
}

void Form1::keepTextModeAfterScan()
{
    // A scan fills the directory-mode box; in text mode the new names belong in the box that is shown.
    if (!m_textMode)
        return;
    NameTextEdit* shown = m_ui->nameTextTextMode;
    shown->loadText(m_ui->nameTextDirectoryMode->text());
    m_nameBox = shown;
    m_ui->nameTextDirectoryMode->hide();
    shown->show();
}

void Form1::Command7_Click()
{
    if (textmode::saveNameTextAs(this, Get_Eingabe_Text(), m_lastFolder.folder(), ui::messenger()) == textmode::SaveOutcome::Saved)
        m_ui->saveTextFile->setEnabled(false);
}

void Form1::Command8_Click()
{
    const textmode::OpenOutcome opened = textmode::openNameTextFile(this, m_lastFolder.folder(), ui::messenger());
    if (opened.status != textmode::OpenStatus::Opened)
        return;
    // Each box takes the file as one undoable step.
    m_ui->nameTextDirectoryMode->setText(opened.text);
    m_ui->nameTextTextMode->setText(opened.text);
}

void Form1::setUpdateTarget(const QString& programDir, const QString& programFile)
{
    m_updateDir = programDir;
    m_updateFile = programFile;
}

void Form1::Download_Click()
{
    // Once the updater runs the program ends at once: no chooser, no question and no stored settings.
    ui::EndingMessenger messenger(ui::messenger(), [this] { releaseChooser(); });
    web::Download_Click(this, messenger, m_updateDir, m_updateFile);
}

void Form1::Guestbook_Click()
{
    if (!web::Guestbook_Click())
        ui::message(this, msg::homepageNotOpened(web::homepageUrl()), QString(), ui::Buttons::Ok, ui::Icon::Stop);
}
