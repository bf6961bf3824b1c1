#pragma once
// The program's own modal file dialog: pick a file to open, a name to save under, or a folder.
#include <QDialog>
#include <QString>

class QLineEdit;
class QListView;
class QPushButton;
class QToolButton;

namespace ui {
class BackgroundFileList;
class DriveList;
class FolderTree;
}  // namespace ui

class Files : public QDialog {
    Q_OBJECT
public:
    // Modes as the event handlers tell them apart.
    static const QString kModeFile;
    static const QString kModeSaveFile;
    static const QString kModeDir;

    // The lists start in `folder`, or in the current directory when it is empty.
    explicit Files(QWidget* parent = nullptr, const QString& folder = QString());
    ~Files() override;

    // Each shows the dialog modally and returns the chosen path, or the empty text when the user cancelled.
    // An empty DefaultPath starts in the folder the directory chooser showed last.
    static QString FileOpenDialog(const QString& DefaultPath = QString(), const QString& WindowCaption = QString(),
                                  const QString& DefaultFilename = QString(), QWidget* parent = nullptr);
    static QString filesaveDialog(const QString& DefaultPath = QString(), const QString& DefaultFilename = QString(),
                                  const QString& WindowCaption = QString(), QWidget* parent = nullptr);
    // The folder with a separator at its end.
    static QString FileDirSelectDialog(const QString& DefaultPath = QString(), const QString& WindowCaption = QString(),
                                       QWidget* parent = nullptr);

    // The set-up of each mode without showing the dialog.
    void prepareOpen(const QString& DefaultPath, const QString& WindowCaption, const QString& DefaultFilename);
    void prepareSave(const QString& DefaultPath, const QString& DefaultFilename, const QString& WindowCaption);
    void prepareDir(const QString& DefaultPath, const QString& WindowCaption);

    QString mode() const { return m_mode; }
    // What Ok chose; in the file modes a result that names a folder counts as no choice.
    QString chosenPath() const;
    QString folder() const { return m_folder; }
    bool isListingFiles() const;

    void Drive1_Change(const QString& root);
    void Dir1_Change(const QString& dir);
    void File1_Click();
    void File1_DblClick();
    void FileName_Change();
    void Command1_Click();
    void StartmenueBtn_Click();
    void Ok_Click();
    void Abbruch_Click();

Q_SIGNALS:
    void filesListed();

private:
    void goToFolder(const QString& dir);
    QString startFolder(const QString& DefaultPath) const;
    QString selectedFile() const;

    QString m_mode;
    QString m_result;
    QString m_folder;
    QString m_namePattern;
    ui::DriveList* m_drive1;
    ui::FolderTree* m_dir1;
    QListView* m_file1;
    ui::BackgroundFileList* m_files;
    QLineEdit* m_fileName;
    QPushButton* m_ok;
    QPushButton* m_abbruch;
    QToolButton* m_command1;
    QToolButton* m_startmenueBtn;
};
