// The main window's name list: scan, change handling, rename and restore.
#include "mainwindow/Form1.h"

#include "chooser/Browser.h"
#include "mainwindow/FehlerDialog.h"
#include "mainwindow/Messenger.h"
#include "mainwindow/NameTextEdit.h"
#include "mainwindow/ToolFrames.h"
#include "names/DirectoryScan.h"
#include "names/NameRules.h"
#include "names/NameText.h"
#include "names/RenamePlan.h"
#include "names/SafeRename.h"
#include "settings/AppDefOps.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSet>

Form1::Form1(QWidget* parent) : QMainWindow(parent)
{
    buildUi();
    setWindowTitle(QStringLiteral("Quillet"));

    connect(m_eingabeMit, &NameTextEdit::changed, this, &Form1::Eingabe_Mit_Change);
    connect(m_eingabeOhne, &NameTextEdit::changed, this, &Form1::Eingabe_Ohne_Change);
    connect(m_original, &QListWidget::itemDoubleClicked, this, &Form1::Original_DblClick);
    connect(m_setzen, &QPushButton::clicked, this, &Form1::Setzen_Click);
    connect(m_menuNamenSetzen, &QAction::triggered, this, [this] {
        if (m_menuNamenSetzen->isEnabled())
            Setzen_Click();
    });
    connect(m_origNamen, &QPushButton::clicked, this, &Form1::OrigNamen_Click);
    connect(m_menOriginalHerstellen, &QAction::triggered, this, [this] {
        if (m_menOriginalHerstellen->isEnabled())
            OrigNamen_Click();
    });
    wireToolFrames();
    wireCommands();
    fillCdLists();
}

Form1::~Form1()
{
    // The chooser is a window of its own and refers to this one.
    delete m_browser.data();
}

QString Form1::GetVersion()
{
    return QStringLiteral("2.04");
}

bool Form1::lessMessageBoxes() const
{
    return m_showMessageBox->isChecked();
}

void Form1::set_Startpfad(const QString& path)
{
    m_startPfad = names::withTrailingSeparator(path);
    setWindowTitle(QDir::toNativeSeparators(m_startPfad));
}

QString Form1::Get_Eingabe_Text() const
{
    if (m_batchBufferActive)
        return m_batchBuffer;
    return m_nameBox->text();
}

void Form1::Set_Eingabe_Text(const QString& text)
{
    if (m_batchBufferActive) {
        m_batchBuffer = text;
        return;
    }
    m_nameBox->setText(text);
}

qsizetype Form1::LineCount() const
{
    if (m_batchBufferActive)
        return names::lineCount(m_batchBuffer);
    return m_nameBox->lineCount();
}

void Form1::InitializeMe()
{
    m_eingabeOhne->setText(QString());
    m_eingabeMit->setText(QString());
    m_original->clear();
    m_modifiziert.clear();
    m_originalNames.clear();
    m_recoverNameOf.clear();

    names::ListingOptions options;
    options.renameDirs = AppDefOps::GetAppSetting(QStringLiteral("Options"), QStringLiteral("Directorys"), QStringLiteral("1")).toString() == QLatin1String("1");
    options.onlyDirs = AppDefOps::GetAppSetting(QStringLiteral("Options"), QStringLiteral("OnlyDirectorys"), QStringLiteral("1")).toString().trimmed().toInt() == 1;
    const names::ScanResult scan = names::scanDirectory(m_startPfad.trimmed(), options);
    m_originalNames = scan.names;
    m_original->addItems(m_originalNames);

    m_nameBox = m_eingabeMit;
    m_eingabeOhne->hide();
    m_eingabeMit->show();
    m_eingabeMit->setText(names::buildNameText(m_originalNames));
    m_modified = false;

    m_label1->setText(QStringLiteral("Original Namen:  (%1 Stück)").arg(m_originalNames.size()));
    if (scan.unlistable.isEmpty()) {
        m_label1->setToolTip(QString());
    } else {
        QStringList shown = scan.unlistable.mid(0, 20);
        if (scan.unlistable.size() > 20)
            shown << QStringLiteral("...");
        m_label1->setToolTip(QStringLiteral("%1 Einträge sind nicht aufgeführt, weil ihr Name nicht als eine Zeile geschrieben "
                                            "werden kann (ungültige Zeichenkodierung oder Zeilenumbruch im Namen):\n%2")
                                 .arg(scan.unlistable.size())
                                 .arg(shown.join(QLatin1Char('\n'))));
    }
    setRenameEnabled(false);
    m_origNamen->setEnabled(false);
    syncRestoreMenu();
    m_recoverText = m_eingabeMit->text();

    if (m_frame4->autoCheck()->isChecked()) {
        // Not a click: the window may still be disabled while the chooser scans.
        appendFromCopy(m_frame4);
        m_setzen->setFocus();
    }
}

void Form1::setRenameEnabled(bool enabled)
{
    m_setzen->setEnabled(enabled);
    m_menuNamenSetzen->setEnabled(enabled);
}

void Form1::syncRestoreMenu()
{
    m_menOriginalHerstellen->setEnabled(m_origNamen->isEnabledTo(this));
}

namespace {

void showLineCount(QLabel* label, qsizetype lines, bool matches)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, matches ? QApplication::palette().color(QPalette::WindowText) : QColor(255, 0, 0));
    label->setPalette(p);
    QString caption = QStringLiteral("Modifizierte Namen  (ohne Dateiendung): %1").arg(lines);
    if (!matches)
        caption += QStringLiteral("   Anzahl stimmt nicht! ");
    label->setText(caption);
}

}  // namespace

void Form1::Eingabe_Mit_Change()
{
    m_command7->setEnabled(true);
    m_modified = true;
    const qsizetype lines = m_eingabeMit->lineCount();
    m_origNamen->setEnabled(true);
    syncRestoreMenu();
    const bool matches = lines == m_originalNames.size();
    setRenameEnabled(matches);
    showLineCount(m_label2, lines, matches);
}

void Form1::Eingabe_Ohne_Change()
{
    if (m_originalNames.isEmpty()) {
        m_label2->setText(QStringLiteral("Es wurden keine Dateien gefunden!"));
        return;
    }
    m_modified = true;
    const qsizetype lines = m_eingabeOhne->lineCount();
    m_origNamen->setEnabled(m_eingabeOhne->text() != m_recoverText);
    syncRestoreMenu();
    const bool matches = lines == m_originalNames.size();
    setRenameEnabled(matches);
    showLineCount(m_label2, lines, matches);
}

void Form1::Original_DblClick(QListWidgetItem* item)
{
    if (!item)
        return;
    const QString name = item->text();
    if (!lessMessageBoxes()) {
        const ui::Answer a = ui::message(this,
                                         QStringLiteral("Dateinamen:\r\"%1\"\r\r in die Zwischenablage kopieren?").arg(name),
                                         QStringLiteral("Dateinamen in die Zwischenablage?"), ui::Buttons::YesNo,
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
    m_setzen->setVisible(!lock && m_nameBox == m_eingabeMit);
    for (QWidget* w : std::initializer_list<QWidget*>{m_nummerieren, m_nummernEntf, m_abbruch, m_verzeichnis})
        w->setEnabled(!lock);
}

void Form1::letWindowPaint()
{
    // Paint and timers only: a click meanwhile would start another command in the middle of this one.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Form1::setBusyTitle(const QString& progress)
{
    setWindowTitle(progress.isEmpty() ? QDir::toNativeSeparators(m_startPfad) : progress);
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
    // The report frames the line with LF and CR; blanks around it are trimmed first, then the frame.
    QString offending = names::invalidCharsReport(Get_Eingabe_Text());
    while (offending.startsWith(QLatin1Char(' ')))
        offending.remove(0, 1);
    while (offending.endsWith(QLatin1Char(' ')))
        offending.chop(1);
    if (offending.size() >= 2)
        offending = offending.mid(1, offending.size() - 2);
    else
        offending.clear();
    ui::beep();
    if (!offending.isEmpty()) {
        // A dialog that was just closed is already on its way out; the next offending line gets a new one.
        if (!m_fehler || !m_fehler->isVisible())
            m_fehler = new FehlerDialog(this);
        m_fehler->setWindowTitle(QStringLiteral("Die Dateinamen enthalten ungültige Zeichen (\\/*?\"<>|). Dateien werden nicht umbenannt!"));
        m_fehler->setLine(offending);
        m_fehler->show();
        m_fehler->raise();
        m_fehler->activateWindow();
        return;
    }
    const QString text = Get_Eingabe_Text();
    // Counted on the very text that is split below, so a line can never pair with another entry.
    if (m_originalNames.size() != names::lineCount(text)) {
        ui::message(this, QStringLiteral("Achtung die Anzahl der Eingabe-Dateien stimmt nicht mit der der Ausgabedateien überein"),
                    QStringLiteral("Fehler"));
        return;
    }
    if (!m_modified) {
        ui::message(this, QStringLiteral("Sie haben keine Änderungen an den Dateinamen vorgenommen!"),
                    QStringLiteral("Kann nicht Umbenennen!"));
        return;
    }
    const QString doubles = names::duplicateLinesReport(text, &m_tempList);
    if (!doubles.isEmpty()) {
        ui::beep();
        if (ui::message(this, doubles, QStringLiteral("Doppelte Zeilen"), ui::Buttons::YesNo) != ui::Answer::Yes)
            return;
    }

    m_renaming = true;
    m_modifiziert = names::splitNameLines(text, m_originalNames.size());
    const names::RenamePlan plan = names::planRenames(m_originalNames, m_modifiziert);
    names::DirRenamer renamer(m_startPfad);
    QElapsedTimer sincePaint;
    sincePaint.start();
    const names::RenameOutcome outcome =
        names::executeRenames(plan, renamer, [&](qsizetype done, qsizetype total) {
            if (sincePaint.elapsed() < 100)
                return;
            sincePaint.restart();
            setBusyTitle(QStringLiteral("Umbenennen: %1 von %2").arg(done).arg(total));
            letWindowPaint();
        });
    setBusyTitle(QString());
    ui::beep();
    m_abbruch->setText(QStringLiteral("Ende"));

    // The recover text keeps the names from before the rename, now in the order of the rescanned list.
    QHash<QString, QString> recoverNameOf;
    QSet<QString> movedAway;
    for (auto it = outcome.previousName.cbegin(); it != outcome.previousName.cend(); ++it) {
        recoverNameOf.insert(it.key(), m_recoverNameOf.value(it.value(), it.value()));
        movedAway.insert(it.value());
    }
    for (auto it = m_recoverNameOf.cbegin(); it != m_recoverNameOf.cend(); ++it)
        if (!movedAway.contains(it.key()))
            recoverNameOf.insert(it.key(), it.value());
    InitializeMe();
    m_recoverNameOf = recoverNameOf;
    QStringList recoverLines;
    recoverLines.reserve(m_originalNames.size());
    for (const QString& current : std::as_const(m_originalNames)) {
        const QString before = m_recoverNameOf.value(current, current);
        QString line = names::displayName(before);
        if (names::applyExtensionRule(current, line) != before)
            line = before;  // the extension changed: only the full name brings it back
        recoverLines.append(line);
    }
    m_recoverText = recoverLines.join(names::kCrLf);

    setRenameEnabled(false);
    advanceCdCombos();
    m_renaming = false;
    if (!outcome.failed.isEmpty())
        reportRenameProblems(names::describeProblems(outcome.failed));
    if (m_frame4->autoCheck()->isChecked()) {
        m_modified = false;
        Verzeichnis_Click();
    }
}

void Form1::reportRenameProblems(const QString& text)
{
    ui::message(this, text, QStringLiteral("Nicht alle Namen wurden gesetzt"), ui::Buttons::Ok, ui::Icon::Stop);
}

void Form1::advanceCdCombos()
{
    for (QComboBox* combo : {m_frame4->cdCombo(), m_frame6->cdCombo()}) {
        const int next = combo->currentIndex() + 1;
        if (next < combo->count())
            combo->setCurrentIndex(next);
    }
}

void Form1::OrigNamen_Click()
{
    if (!m_recoverText.isEmpty())
        Set_Eingabe_Text(m_recoverText);
    setRenameEnabled(false);
    m_origNamen->setEnabled(false);
    syncRestoreMenu();
}
