#pragma once
// The window in which the user picks the directory to work on and the two listing options.
#include <QDialog>
#include <QStringList>

class QCheckBox;
class QGroupBox;
class QListView;
class QPushButton;
namespace ui {
class FolderTree;
class BackgroundFileList;
class DriveList;
class LastFolder;
}  // namespace ui

class Browser : public QDialog {
    Q_OBJECT
public:
    // startDirectory: where the lists start (the main window's start path); empty for the current directory.
    // The folder shown is kept in `lastFolder`, which must outlive the chooser.
    Browser(const QString& startDirectory, bool firstStart, ui::LastFolder& lastFolder);
    ~Browser() override;

    // The directory the lists show; the process's current directory is never changed.
    QString currentDirectory() const { return m_dir; }
    void setCurrentDirectory(const QString& dir);
    void setFirstStart(bool first);
    bool firstStart() const;

    void Ok_Click();
    void Command2_Click();
    void File1_Click();
    // Drops: on one of the three lists, or anywhere else on the window.
    void dropOnList(const QStringList& paths);
    void dropOnSurface(const QStringList& paths);
    // Closes without the cancel handling (after a confirm, a drop, or when the program ends).
    void closeSilently();
    bool isClosing() const { return m_closing; }

Q_SIGNALS:
    // The stored option asks for the main window on top.
    void onTopRequested();
    // Sent before a confirmed directory is scanned, so a CD prefix is in place for the scan.
    void autoCdRequested();
    // The main window lists this directory.
    void directoryChosen(const QString& dir);
    // "Standardwerte zurücksetzten" was checked at a confirm: normal window, standard size and place.
    void standardValuesRequested();
    void upperToolbarHideRequested();
    // Cancelled (not at the first start): the main window lists its directory again.
    void cancelled();
    // A file or directory was dropped on the chooser.
    void pathDropped(const QString& path);
    // The main window may take input again.
    void released();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void Dir1_Change(const QString& dir);
    void RenDirs_Click();
    void NurVerz_Click();
    void confirmOnTop();
    void scanShownDirectory();
    void applyStandardValues();
    void loadWithoutConfirm();

    QString m_startDirectory;
    QString m_dir;
    ui::LastFolder& m_lastFolder;
    bool m_closing = false;
    bool m_cancelHandled = false;
    ui::DriveList* m_drive1;
    ui::FolderTree* m_dir1;
    QListView* m_file1;
    ui::BackgroundFileList* m_fileModel;
    QCheckBox* m_renDirs;
    QCheckBox* m_nurVerz;
    QCheckBox* m_setToStandard;
    QCheckBox* m_firstStart;
    QPushButton* m_ok;
    QPushButton* m_command2;
    QGroupBox* m_frame1;
};
