// The main window's name list: scan, change handling, rename and restore.
#include "mainwindow/Form1.h"

#include "mainwindow/FehlerDialog.h"
#include "mainwindow/MainWindowUi.h"
#include "mainwindow/NameMarks.h"
#include "mainwindow/Messages.h"
#include "mainwindow/NameTextEdit.h"
#include "mainwindow/OriginalNamesModel.h"
#include "mainwindow/ToolCommands.h"
#include "mainwindow/Toolbars.h"
#include "names/NameText.h"
#include "settings/SettingsKeys.h"
#include "ui/Messenger.h"
#include "ui/NoteListView.h"
#include "ui/RenameMessages.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QListView>
#include <QPushButton>

namespace {

// Names listed in the tooltip of names the list leaves out.
constexpr qsizetype kUnlistedShown = 20;
// Longer work shows how far it is and lets the window repaint at least this often.
constexpr int kTitleUpdateMs = 50;
// The caption of the name text turns this colour while its line count differs from the list's.
constexpr QColor kLineCountMismatch(255, 0, 0);

names::ListingOptions storedListingOptions()
{
    return {settings::read(settings::keys::kRenameDirectories), settings::read(settings::keys::kOnlyDirectories)};
}

}  // namespace

void Form1::set_Startpfad(const QString& path)
{
    m_names.setStartPath(path);
    setWindowTitle(QDir::toNativeSeparators(m_names.startPath()));
}

QString Form1::Get_Eingabe_Text() const
{
    return m_nameBox->text();
}

void Form1::Set_Eingabe_Text(const QString& text)
{
    m_nameBox->setText(text);
}

qsizetype Form1::LineCount() const
{
    return m_nameBox->lineCount();
}

void Form1::InitializeMe()
{
    if (m_loading)
        return;  // asked again by a timer while a load turns the event loop
    const names::ListingOptions options = storedListingOptions();
    m_loading = true;
    m_closedWhileLoading = false;
    m_loadProgressShown = false;
    m_sinceProgress.start();
    m_names.scan(options, [this](qsizetype read) { return keepLoading(read); });
    // Looking for an unfinished rename reads the journals kept: a turn of the event loop before it.
    if (m_closedWhileLoading || (m_loadProgressShown && !keepLoading(m_names.lastScan().names.size()))) {
        m_loading = false;
        return;
    }
    setWindowTitle(QDir::toNativeSeparators(m_names.startPath()));
    m_loading = false;
    if (const std::optional<names::UnfinishedRename> interrupted = m_names.interruptedRename())
        askRecovery(*interrupted, options);
    // Filling the box takes a while at a million names: it turns the event loop too.
    m_loading = true;
    showScan([this] { return keepLoading(m_names.lastScan().names.size()); });
    m_loading = false;
    if (!m_closedWhileLoading && m_loadProgressShown)
        setWindowTitle(QDir::toNativeSeparators(m_names.startPath()));
}

// While a folder is read: how far it is in the title, and a turn of the event loop for painting,
// timers and a request to close the window (input waits: a click could start another command).
bool Form1::keepLoading(qsizetype entriesRead)
{
    // A folder large enough to report at all shows its progress at once, then at intervals.
    if (!m_loadProgressShown || m_sinceProgress.elapsed() >= kTitleUpdateMs) {
        m_loadProgressShown = true;
        m_sinceProgress.restart();
        setWindowTitle(msg::loadProgress(entriesRead));
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return !m_closedWhileLoading;
}

bool Form1::askRecovery(const names::UnfinishedRename& interrupted, const names::ListingOptions& options)
{
    names::RecoveryChoice choice = names::RecoveryChoice::Rollback;
    // A journal with no entry left to read has nothing to ask about: it is only set aside.
    if (!interrupted.damaged || interrupted.entryCount > 0) {
        const ui::Answer answer = ui::message(this, ui::interruptedRenameText(interrupted), ui::interruptedRenameTitle(),
                                              ui::Buttons::YesNoCancel, ui::Icon::Question);
        if (answer != ui::Answer::Yes && answer != ui::Answer::No)
            return false;  // left as it is: asked again at the next opening
        choice = answer == ui::Answer::Yes ? names::RecoveryChoice::Finish : names::RecoveryChoice::Rollback;
    }
    reportProblems(m_names.recoverInterrupted(choice, options), ui::interruptedRenameTitle());
    return true;
}

void Form1::reportProblems(const names::RenameOutcome& outcome, const QString& title)
{
    if (outcome.stopped != names::RenameStop::None) {
        ui::message(this, ui::renameStopText(outcome, QDir::toNativeSeparators(m_names.startPath())), title,
                    ui::Buttons::Ok, ui::Icon::Stop);
        return;
    }
    const QString setAside = ui::journalSetAsideText(outcome);
    if (!outcome.failed.isEmpty()) {
        const QString heading = ui::renameProblemsHeading(outcome.failed);
        ui::messageWithDetails(this, setAside.isEmpty() ? heading : setAside + QStringLiteral("\n\n") + heading,
                               ui::renameProblemsList(outcome.failed), title, ui::Icon::Stop);
    } else if (!setAside.isEmpty()) {
        ui::message(this, setAside, title, ui::Buttons::Ok, ui::Icon::Information);
    }
}

void Form1::showScan(const std::function<bool()>& turn)
{
    const names::ScanResult& scan = m_names.lastScan();
    NameTextEdit* box = m_ui->nameTextDirectoryMode;
    m_ui->nameTextTextMode->loadText(QString());
    m_ui->originalNames->setNames(scan.names);
    m_nameBox = box;
    m_marks->setContext(m_names.renameContext());
    m_ui->nameTextTextMode->hide();
    box->show();
    // A fresh list is no edit: nothing to undo. After a rename the box usually shows the new names
    // already; then only its history and the change handling are reset, which a refill would do too.
    if (box->holdsNames(scan.names)) {
        box->forgetUndoHistory();
        Eingabe_Mit_Change();
    } else if (!box->loadNames(scan.names, turn)) {
        return;  // the window was closed meanwhile
    }
    keepTextModeAfterScan();
    m_names.setModified(false);

    m_ui->originalCaption->setText(msg::originalCaption(scan.names.size()));
    QStringList tips;
    if (scan.leftOutByOptions > 0)
        tips << msg::leftOutTooltip(scan.leftOutByOptions, scan.leftOutAreFolders);
    if (!scan.unlistable.isEmpty()) {
        QStringList shown = scan.unlistable.mid(0, kUnlistedShown);
        if (scan.unlistable.size() > kUnlistedShown)
            shown << QStringLiteral("...");
        tips << msg::unlistedTooltip(scan.unlistable.size(), shown.join(QLatin1Char('\n')));
    }
    m_ui->originalCaption->setToolTip(tips.join(QStringLiteral("\n\n")));
    // A new user never hovers over the caption: the list itself says why entries are missing.
    const QString note = scan.leftOutByOptions > 0 ? msg::leftOutNote(scan.leftOutByOptions, scan.leftOutAreFolders) : QString();
    m_ui->originalList->setNote(note);
    m_ui->originalList->setAccessibleDescription(
        note.isEmpty() ? MainWindowUi::originalListDescription() : MainWindowUi::originalListDescription() + QLatin1Char(' ') + note);
    setRenameEnabled(false);
    setRestoreEnabled(false);
    m_ui->menuUndoLastRename->setEnabled(m_names.hasLastRename());
    m_tools->appendCdPrefixAfterScan();
}

void Form1::setRenameEnabled(bool enabled)
{
    m_ui->rename->setEnabled(enabled);
    m_ui->menuRename->setEnabled(enabled);
}

void Form1::setRestoreEnabled(bool enabled)
{
    m_ui->restoreNames->setEnabled(enabled);
    m_ui->menuRestoreNames->setEnabled(m_ui->restoreNames->isEnabledTo(this));
}

void Form1::showLineCount(qsizetype lines)
{
    const bool matches = lines == m_names.names().size();
    setRenameEnabled(matches);
    QLabel* label = m_ui->nameTextCaption;
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, matches ? QApplication::palette().color(QPalette::WindowText) : kLineCountMismatch);
    label->setPalette(p);
    label->setText(msg::lineCountCaption(lines, matches));
}

void Form1::Eingabe_Mit_Change()
{
    m_ui->saveTextFile->setEnabled(true);
    m_names.setModified(true);
    setRestoreEnabled(true);
    showLineCount(m_ui->nameTextDirectoryMode->lineCount());
}

void Form1::Eingabe_Ohne_Change()
{
    if (m_names.names().isEmpty()) {
        m_ui->nameTextCaption->setText(msg::noEntriesFound());
        return;
    }
    m_names.setModified(true);
    setRestoreEnabled(!m_names.isRecoverText(m_ui->nameTextTextMode->text()));
    showLineCount(m_ui->nameTextTextMode->lineCount());
}

void Form1::Original_DblClick(int row)
{
    if (row < 0 || row >= m_names.names().size())
        return;
    const QString name = m_names.names().at(row).toString();
    if (!m_ui->fewerMessages->isChecked()) {
        const ui::Answer a = ui::message(this, msg::copyNameQuestion(name), msg::copyNameTitle(), ui::Buttons::YesNo,
                                         ui::Icon::Question);
        if (a != ui::Answer::Yes)
            return;
    }
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(name);
}

void Form1::ElementeSperren(bool lock)
{
    m_locked = lock;
    m_ui->rename->setVisible(!lock && m_nameBox == m_ui->nameTextDirectoryMode);
    for (QWidget* w : std::initializer_list<QWidget*>{m_ui->number, m_ui->removeNumbers, m_ui->exit, m_ui->chooseDirectory})
        w->setEnabled(!lock);
}

void Form1::SetzenClick()
{
    Setzen_Click();
}

void Form1::Setzen_Click()
{
    if (m_renaming)
        return;
    // The selection is left alone: a line selected by a click in the list is not a request to delete it.
    const QString text = Get_Eingabe_Text();
    const names::CheckResult check = m_names.check(text);
    ui::beep();
    switch (check.verdict) {
    case names::RenameCheck::InvalidCharacters:
        // A dialog that was just closed is already on its way out; the next offending line gets a new one.
        if (!m_fehler || !m_fehler->isVisible())
        {
            m_fehler = new FehlerDialog(this);
            connect(m_fehler, &FehlerDialog::correctionRequested, this, &Form1::correctLine);
        }
        m_fehler->setWindowTitle(msg::invalidCharactersTitle());
        m_fehler->setLine(check.offendingLine);
        m_fehler->show();
        m_fehler->raise();
        m_fehler->activateWindow();
        return;
    case names::RenameCheck::WrongLineCount:
        ui::message(this, msg::wrongLineCount(), msg::wrongLineCountTitle());
        return;
    case names::RenameCheck::NothingChanged:
        ui::message(this, msg::nothingChanged(), msg::nothingChangedTitle());
        return;
    case names::RenameCheck::DuplicateLines:
        ui::beep();
        if (ui::message(this, msg::duplicateLinesQuestion(check.duplicates), msg::duplicateLinesTitle(), ui::Buttons::YesNo) !=
            ui::Answer::Yes)
            return;
        break;
    case names::RenameCheck::Ok:
        break;
    }

    // Renaming over an interrupted rename would mix two plans: it is ended first, and the list read anew.
    if (const std::optional<names::UnfinishedRename> interrupted = m_names.interruptedRename()) {
        if (askRecovery(*interrupted, storedListingOptions()))
            showScan();
        return;
    }

    m_renaming = true;
    // The checks took their time already: the window shows that the rename starts before it plans.
    setWindowTitle(msg::renameProgress(0, m_names.names().size()));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_marks->pause();
    QElapsedTimer sincePaint;
    const names::RenameOutcome outcome =
        m_names.rename(text, storedListingOptions(), [&](qsizetype done, qsizetype total) {
            if (sincePaint.isValid() && sincePaint.elapsed() < kTitleUpdateMs)
                return;
            sincePaint.restart();
            setWindowTitle(msg::renameProgress(done, total));
            // Paint and timers only: a click meanwhile would start another command in the middle of this one.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    setWindowTitle(QDir::toNativeSeparators(m_names.startPath()));
    ui::beep();
    if (outcome.stopped != names::RenameStop::None) {
        // Nothing was touched: the text stays for another try.
        m_marks->resume();
        m_renaming = false;
        reportProblems(outcome, msg::renameProblemsTitle());
        return;
    }
    m_ui->exit->setText(msg::exitCaptionAfterRename());
    showScan();
    setRenameEnabled(false);
    // The names from before are one click away whenever they differ from what the directory has now.
    setRestoreEnabled(!m_names.isRecoverText(Get_Eingabe_Text()));
    m_tools->advanceCdLists();
    m_renaming = false;
    reportProblems(outcome, msg::renameProblemsTitle());
    if (m_tools->autoCdOn()) {
        m_names.setModified(false);
        Verzeichnis_Click();
    }
}

void Form1::correctLine(const QString& wanted, const QString& corrected)
{
    // The dialog does not block, so the user may have edited the name text meanwhile: the line is
    // corrected only where it still stands as a whole line.
    const std::optional<QString> text = names::replaceWholeLine(Get_Eingabe_Text(), wanted, corrected);
    if (!text) {
        ui::message(this, msg::lineNoLongerThere(wanted));
        return;
    }
    Set_Eingabe_Text(*text);
    Setzen_Click();
}

void Form1::MenLetzteUmbenennungRueckgaengig_Click()
{
    if (m_renaming || !m_ui->menuUndoLastRename->isEnabled())
        return;
    // The undo lists the directory again, which drops the edits and the names from before.
    if (m_names.isModified()
        && ui::message(this, msg::discardChangesQuestion(), msg::discardChangesTitle(), ui::Buttons::YesNo) != ui::Answer::Yes)
        return;
    m_renaming = true;
    const names::RenameOutcome outcome = m_names.undoLastRename(storedListingOptions());
    m_renaming = false;
    ui::beep();
    if (outcome.stopped == names::RenameStop::None)
        showScan();
    reportProblems(outcome, msg::undoLastRenameTitle());
}

void Form1::OrigNamen_Click()
{
    if (m_names.hasRecoverText())
        Set_Eingabe_Text(m_names.recoverText());
    setRenameEnabled(false);
    setRestoreEnabled(false);
}
