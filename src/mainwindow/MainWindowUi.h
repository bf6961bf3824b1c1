#pragma once
// The controls of the main window, named by their role, and the code that creates them. Their object names
// are the ones the program has always shown to tests and to the settings store.
#include <QString>
#include <QtGlobal>

class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QMainWindow;
class QPushButton;
class OriginalNamesModel;
class QToolButton;
class QWidget;
class AlwaysOnTop;
class NameTextEdit;
class SearchReplaceFrame;
namespace ui { class NoteListView; }
class AppendFrame;
class CutFrame;

struct MainWindowUi {
    explicit MainWindowUi(QMainWindow* window);
    // What a screen reader says of the list, before a note on entries it leaves out.
    static QString originalListDescription();

    QWidget* surface;

    // Work area.
    NameTextEdit* nameTextDirectoryMode;  // Eingabe_Mit
    NameTextEdit* nameTextTextMode;       // Eingabe_Ohne
    ui::NoteListView* originalList;       // Original
    OriginalNamesModel* originalNames;
    QLabel* originalCaption;              // Label1
    QLabel* nameTextCaption;              // Label2

    // Upper toolbar and the buttons that bring the toolbars back.
    QFrame* upperToolbar;                 // ErweiterungsFrame
    QPushButton* hideUpperToolbar;        // CloseFrame
    QLineEdit* pasteBox;                  // Text9
    QToolButton* resetToolbars;           // Command18
    QToolButton* showLowerToolbar;        // ShowControlsDialogButton

    // Lower toolbar.
    QGroupBox* lowerToolbar;              // ControlsFrame
    QToolButton* hideLowerToolbar;        // CloseFrame2
    QPushButton* restoreNames;            // OrigNamen
    QPushButton* rename;                  // Setzen
    QPushButton* textMode;                // Command6
    QPushButton* saveTextFile;            // Command7
    QPushButton* openTextFile;            // Command8
    QPushButton* number;                  // Nummerieren
    QPushButton* removeNumbers;           // Nummern_Entf
    QPushButton* chooseDirectory;         // Verzeichnis
    QPushButton* exit;                    // Abbruch
    QPushButton* umlauts;                 // Command5
    QPushButton* underscores;             // Command1
    QPushButton* trimBlanks;              // Command2
    QPushButton* letterCase;              // Command4
    QPushButton* capitalise;              // WordUcase
    QCheckBox* alwaysOnTop;               // AlwaysOnTop (hidden, driven by its menu item)
    AlwaysOnTop* alwaysOnTopControl;      // AlwaysOnTop1
    QLabel* updateLink;                   // Label3
    QLabel* homepageLink;                 // Label4
    QLabel* version;                      // MenuVersion

    // Tool frames: visible copies in the fixed row and the upper toolbar, and the hidden main tools.
    SearchReplaceFrame* searchFixed;      // Frame5
    AppendFrame* appendFixed;             // Frame4 (with the CD list and "Auto")
    CutFrame* cutFixed;                   // Frame8
    SearchReplaceFrame* searchTop;        // Frame3
    SearchReplaceFrame* searchTop2;       // Frame10
    AppendFrame* appendTop;               // Frame6 (with the second CD list)
    AppendFrame* appendTop2;              // Frame9
    CutFrame* cutTop;                     // Frame7
    SearchReplaceFrame* searchMain;       // Frame1
    AppendFrame* appendMain;              // TextAnhängen
    CutFrame* cutMain;                    // Frame2

    // Menus.
    QAction* menuRestoreNames;            // MEnuOriginalHerstellen
    QAction* menuRename;                  // MenuNamenSetzen
    QAction* menuUndoLastRename;          // MenLetzteUmbenennungRueckgaengig
    QAction* menuChooseDirectory;         // MenNeuesVerzeichnis
    QAction* menuSaveTextFile;            // MenDateiSpeichern
    QAction* menuOpenTextFile;            // MenDateiÖffnen
    QAction* menuExit;                    // MenAbbruch_Click
    QAction* menuCapitalise;              // MenErsetzen
    QAction* menuLetterCase;              // MenGroßKleinschreibung
    QAction* menuUmlauts;                 // MenUmlaute
    QAction* menuUnderscores;             // MenUnterstrichErsetzen
    QAction* menuTrimBlanks;              // MenLeerzeichenentfernen
    QAction* menuRemoveNumbers;           // MenNummernEntfernen
    QAction* menuNumber;                  // MenNummernSetzen
    QAction* fewerMessages;               // ShowMessageBox
    QAction* menuAlwaysOnTop;             // MenAlwaysOnTop
    QAction* menuHideUpperToolbar;        // MenFrameAUsblenden
    QAction* menuHideLowerToolbar;        // MenuUntereToolleisteAusblenden
    QAction* menuResetToolbars;           // MenResetFrames
    QAction* disableSync;                 // DisableSync
    QAction* menuTips;                    // MenTip
    QAction* menuDownload;                // Download
    QAction* menuHomepage;                // Guestbook

private:
    void buildWorkArea(QMainWindow* window);
    void buildUpperToolbar();
    void buildLowerToolbar();
    void buildToolFrames();
    void buildMenus(QMainWindow* window);
};
