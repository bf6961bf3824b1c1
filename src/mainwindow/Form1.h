#pragma once
// The main window: the list of original names, the name text, the tool frames and the main commands.
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;
class QTimer;
class QToolButton;
class NameTextEdit;
class FehlerDialog;
class Browser;
class SearchReplaceFrame;
class AppendFrame;
class CutFrame;

class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up: options, CD lists, start path, window position, then the given path or the chooser.
    void Form_Load(const QString& commandLinePath = QString());

    // Start path and scan.
    void set_Startpfad(const QString& path);
    QString startPfad() const { return m_startPfad; }
    void InitializeMe();

    // The name text in CR LF form.
    QString Get_Eingabe_Text() const;
    void Set_Eingabe_Text(const QString& text);
    qsizetype LineCount() const;

    // Rename and restore; both return when the work and the rescan are done.
    void SetzenClick();
    void Setzen_Click();
    void OrigNamen_Click();
    void ElementeSperren(bool lock);

    // Commands of the main window.
    void Verzeichnis_Click();
    void Abbruch_Click();
    void OpenDroppedPath(const QString& path);
    void DragADirectory(const QString& firstPath);
    void ShowOnTop(bool onTop);
    void CheckAutoCDAdd();
    void showChooser();
    Browser* chooser() const;
    // The hidden always-on-top check box and its menu item; setting it runs its change handling.
    void setAlwaysOnTopBox(bool checked);
    bool alwaysOnTopBox() const;
    // Hides the upper toolbar without moving anything else.
    void hideErweiterungsFrame();

    // State other windows and tests read.
    bool isModified() const { return m_modified; }
    QString recoverText() const { return m_recoverText; }
    QStringList originalNames() const { return m_originalNames; }
    const QStringList& Modifiziert() const { return m_modifiziert; }
    const QStringList& TempList() const { return m_tempList; }
    bool lessMessageBoxes() const;
    NameTextEdit* nameBox() const { return m_nameBox; }

    // Search and replace engine state (driven by the tool frames and the batch commands).
    void Ersetzen_Click();
    bool batchFlag() const { return m_batchFlag; }
    qint64 batchTotal() const { return m_batchTotal; }

    // Toolbars.
    void Form_Resize();
    void CloseFrame_Click();
    void CloseFrame2_Click();
    void ShowControlsDialogButton_Click();
    void Command18_Click();

    // Tool commands of the name text.
    void BtnAnhaengen_Click();
    void Beschneiden_Click();
    void Nummerieren_Click();
    void Nummern_Entf_Click();
    void Command1_Click();
    void Command2_Click();
    void Command4_Click();
    void Command5_Click();
    void WordUcase_Click();
    void Command19_Click();
    void Command20_Click();

    // The version the program shows and hands to the chooser.
    static QString GetVersion();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildUi();
    void buildMenus();
    void buildControlsFrame();
    void buildToolFrames();
    void wireToolFrames();
    void wireCommands();
    void Eingabe_Mit_Change();
    void Eingabe_Ohne_Change();
    void Original_DblClick(QListWidgetItem* item);
    void syncRestoreMenu();
    void setRenameEnabled(bool enabled);
    void saveToolbarState();
    void reportRenameProblems(const QString& text);
    void advanceCdCombos();
    void fillCdLists();
    void addCdPrefixTo(AppendFrame* frame);
    void appendFromCopy(AppendFrame* copy);
    void setBusyTitle(const QString& progress);
    // Runs a long command with user input kept out; the window still paints.
    void letWindowPaint();
    std::function<void(qint64, qint64)> progressInTitle();
    void ShowMessageBox_Click();
    void MenAlwaysOnTop_Click();
    void AlwaysOnTop_Change(bool checked);
    void MenTip_Click();


    // Data.
    QString m_startPfad;
    QStringList m_originalNames;
    QStringList m_modifiziert;
    QStringList m_tempList;
    QString m_recoverText;
    // Name of each current entry as the recover text knows it, for entries moved by a rename.
    QHash<QString, QString> m_recoverNameOf;
    bool m_modified = false;
    bool m_batchFlag = false;
    qint64 m_batchTotal = 0;
    bool m_matchCase = false;
    // While a batch command runs, the name text lives here and reaches the box once, at the end.
    bool m_batchBufferActive = false;
    QString m_batchBuffer;
    bool m_renaming = false;
    bool m_locked = false;
    bool m_exiting = false;
    bool m_firstStart = false;
    int m_chooserGeneration = 0;

    // Controls.
    QWidget* m_central = nullptr;
    QListWidget* m_original = nullptr;
    NameTextEdit* m_eingabeMit = nullptr;
    NameTextEdit* m_eingabeOhne = nullptr;
    NameTextEdit* m_nameBox = nullptr;
    QLabel* m_label1 = nullptr;
    QLabel* m_label2 = nullptr;
    QGroupBox* m_controlsFrame = nullptr;
    QFrame* m_erweiterungsFrame = nullptr;
    QPushButton* m_closeFrame = nullptr;
    QToolButton* m_closeFrame2 = nullptr;
    QToolButton* m_showControlsDialogButton = nullptr;
    QToolButton* m_command18 = nullptr;
    QPushButton* m_setzen = nullptr;
    QPushButton* m_origNamen = nullptr;
    QPushButton* m_nummerieren = nullptr;
    QPushButton* m_nummernEntf = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command2 = nullptr;
    QPushButton* m_command4 = nullptr;
    QPushButton* m_command5 = nullptr;
    QPushButton* m_wordUcase = nullptr;
    QPushButton* m_command6 = nullptr;
    QPushButton* m_command7 = nullptr;
    QPushButton* m_command8 = nullptr;
    QPushButton* m_verzeichnis = nullptr;
    QPushButton* m_abbruch = nullptr;
    QCheckBox* m_alwaysOnTop = nullptr;
    QLabel* m_label3 = nullptr;
    QLabel* m_label4 = nullptr;
    QLabel* m_menuVersion = nullptr;
    QLineEdit* m_text9 = nullptr;
    QTimer* m_timer1 = nullptr;

    // Tool frames: the hidden main tools and their visible copies.
    SearchReplaceFrame* m_frame1 = nullptr;
    SearchReplaceFrame* m_frame3 = nullptr;
    SearchReplaceFrame* m_frame5 = nullptr;
    SearchReplaceFrame* m_frame10 = nullptr;
    AppendFrame* m_textAnhaengen = nullptr;
    AppendFrame* m_frame4 = nullptr;
    AppendFrame* m_frame6 = nullptr;
    AppendFrame* m_frame9 = nullptr;
    CutFrame* m_frame2 = nullptr;
    CutFrame* m_frame7 = nullptr;
    CutFrame* m_frame8 = nullptr;

    // Menus.
    QAction* m_menOriginalHerstellen = nullptr;
    QAction* m_menuNamenSetzen = nullptr;
    QAction* m_menNeuesVerzeichnis = nullptr;
    QAction* m_menDateiSpeichern = nullptr;
    QAction* m_menDateiOeffnen = nullptr;
    QAction* m_menAbbruch = nullptr;
    QAction* m_menErsetzen = nullptr;
    QAction* m_menGrossKlein = nullptr;
    QAction* m_menUmlaute = nullptr;
    QAction* m_menUnterstrich = nullptr;
    QAction* m_menLeerzeichen = nullptr;
    QAction* m_menNummernEntfernen = nullptr;
    QAction* m_menNummernSetzen = nullptr;
    QAction* m_showMessageBox = nullptr;
    QAction* m_menAlwaysOnTop = nullptr;
    QAction* m_menFrameAusblenden = nullptr;
    QAction* m_menUntereToolleiste = nullptr;
    QAction* m_menResetFrames = nullptr;
    QAction* m_disableSync = nullptr;
    QAction* m_menTip = nullptr;
    QAction* m_download = nullptr;
    QAction* m_guestbook = nullptr;

    QPointer<FehlerDialog> m_fehler;
    QPointer<Browser> m_browser;
};
