#pragma once
// The main window. It wires the list of original names, the name text boxes, the toolbars and the tool
// commands to each other; the work itself is done by the objects it holds.
#include "names/NameList.h"
#include "ui/LastFolder.h"

#include <QMainWindow>
#include <QElapsedTimer>
#include <QPointer>

#include <memory>

class Browser;
class FehlerDialog;
class NameMarks;
class NameTextEdit;
class ToolCommands;
class Toolbars;
struct MainWindowUi;
namespace listsync { class ListSync; }

class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up: options, CD lists, start path, window position, then the given path or the chooser.
    void Form_Load(const QString& commandLinePath = QString());

    void set_Startpfad(const QString& path);
    // Lists the start path into the list of original names and the name text.
    void InitializeMe();

    // The name text in CR LF form.
    QString Get_Eingabe_Text() const;
    void Set_Eingabe_Text(const QString& text);
    qsizetype LineCount() const;

    // Rename and restore; both return when the work and the rescan are done.
    void SetzenClick();
    void OrigNamen_Click();
    // Where rename journals are kept (by default in the user's application data folder).
    void setJournalFolder(const QString& folder) { m_names.setJournalFolder(folder); }
    void ElementeSperren(bool lock);

    void Verzeichnis_Click();
    void Abbruch_Click();
    void OpenDroppedPath(const QString& path);
    void DragADirectory(const QString& firstPath);
    Browser* chooser() const;

    void Form_Resize();  // lays out the bands; the next four switch the toolbars
    void CloseFrame_Click();
    void CloseFrame2_Click();
    void ShowControlsDialogButton_Click();
    void Command18_Click();

    // State other windows and tests read.
    QString startPfad() const { return m_names.startPath(); }
    QStringList originalNames() const { return m_names.names().toList(); }
    bool isModified() const { return m_names.isModified(); }
    QString recoverText() const { return m_names.recoverText(); }
    bool alwaysOnTopBox() const;
    NameTextEdit* nameBox() const { return m_nameBox; }
    NameMarks* nameMarks() const { return m_marks; }
    // The folder the chooser showed last, where the text files are saved and opened.
    ui::LastFolder& lastFolder() { return m_lastFolder; }
    // The folder and file name an update replaces; by default the running program's own.
    void setUpdateTarget(const QString& programDir, const QString& programFile);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Tab follows the order in which the controls are seen (Form1_window.cpp).
    bool focusNextPrevChild(bool next) override;

private:
    void wire();
    // Layout, list synchronisation, drops, window moves (Form1_window.cpp).
    void wireWindowBehaviour();
    // Opens a path's directory; none: the chooser, or with scanIfMissing an empty list of the vanished one.
    void openPath(const QString& path, bool scanIfMissing);
    // Shows the names last read; `turn`, if given, runs between slices of filling the box.
    void showScan(const std::function<bool()>& turn = {});
    bool keepLoading(qsizetype entriesRead);
    void Eingabe_Mit_Change();
    void Eingabe_Ohne_Change();
    void showLineCount(qsizetype lines);
    void Original_DblClick(int row);
    void Setzen_Click();
    // Answers the correction dialog's "Setzen".
    void correctLine(const QString& wanted, const QString& corrected);
    void MenLetzteUmbenennungRueckgaengig_Click();
    // Asks how to end an interrupted rename and ends it; false when the user leaves it for later.
    bool askRecovery(const names::UnfinishedRename& interrupted, const names::ListingOptions& options);
    void reportProblems(const names::RenameOutcome& outcome, const QString& title);
    void setRenameEnabled(bool enabled);
    void setRestoreEnabled(bool enabled);
    void showChooser();
    void releaseChooser();
    void ShowOnTop(bool onTop);
    void setAlwaysOnTop(bool onTop);
    void applyStandardValues();

    // Text mode, the text files, the update and the homepage (Form1_textmode.cpp).
    void wireTextMode();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Download_Click();
    void Guestbook_Click();
    void keepTextModeAfterScan();

    std::unique_ptr<MainWindowUi> m_ui;
    std::unique_ptr<Toolbars> m_toolbars;
    ToolCommands* m_tools = nullptr;
    NameMarks* m_marks = nullptr;
    names::NameList m_names;
    ui::LastFolder m_lastFolder;
    NameTextEdit* m_nameBox = nullptr;
    bool m_renaming = false;
    bool m_loading = false;             // a scan or the filling of the box turns the event loop now and then
    bool m_closedWhileLoading = false;  // and the window was closed meanwhile: the load stops
    bool m_loadProgressShown = false;
    QElapsedTimer m_sinceProgress;
    bool m_locked = false;
    bool m_exiting = false;
    bool m_firstStart = false;
    bool m_textMode = false;  // the caption of the mode button only shows it
    int m_chooserGeneration = 0;
    QPointer<FehlerDialog> m_fehler;
    QPointer<Browser> m_browser;
    QString m_updateDir, m_updateFile;  // what an update replaces
    listsync::ListSync* m_sync = nullptr;
};
