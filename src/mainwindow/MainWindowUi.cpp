#include "mainwindow/MainWindowUi.h"

#include "mainwindow/NameTextEdit.h"
#include "mainwindow/OriginalNamesModel.h"
#include "mainwindow/ToolFrames.h"
#include "settings/AlwaysOnTop.h"
#include "ui/ButtonPictures.h"
#include "ui/NoteListView.h"
#include "ui/Twips.h"
#include "ui/Widgets.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>

namespace {

// Rows of the list of original names laid out between two turns of the event loop (some milliseconds).
constexpr int kListLayoutBatch = 1 << 16;

// A button with a picture and no caption; a screen reader says `name` and `description`.
QToolButton* makeImageButton(QWidget* parent, const char* objectName, const QString& tip, const ui::ButtonPicture& picture,
                             const QRect& r, const QString& name, const QString& description)
{
    auto* b = ui::placeNew<QToolButton>(parent, objectName, r);
    b->setToolTip(tip);
    b->setIcon(picture.icon);
    b->setIconSize(picture.size);
    b->setAccessibleName(name);
    b->setAccessibleDescription(description);
    return b;
}

}  // namespace

QString MainWindowUi::originalListDescription()
{
    return QStringLiteral("Die Namen der Einträge des Verzeichnisses, wie sie jetzt heißen; Eintrag N bekommt den Namen aus Zeile N.");
}

MainWindowUi::MainWindowUi(QMainWindow* window)
{
    window->setObjectName(QStringLiteral("Form1"));
    // The controls are placed in twips for a compact dialog look; slim buttons keep their captions whole.
    window->setStyleSheet(QStringLiteral("QPushButton { padding: 1px 4px; } QGroupBox QPushButton { padding: 0px 1px; }"));
    surface = new QWidget(window);
    surface->setObjectName(QStringLiteral("Form1Surface"));
    window->setCentralWidget(surface);

    buildWorkArea(window);
    buildUpperToolbar();
    buildLowerToolbar();
    buildToolFrames();
    buildMenus(window);

    // A window that fits the controls as placed.
    window->resize(twips::toPixels(15480), twips::toPixels(8720));
}

void MainWindowUi::buildWorkArea(QMainWindow* window)
{
    nameTextCaption = ui::makeLabel(surface, "Label2", QStringLiteral("Modifizierte Namen  (ohne Dateiendung):"),
                                    QRect(135, 2250, 5655, 255));
    originalCaption = ui::makeLabel(surface, "Label1", QStringLiteral("Original Namen:"), QRect(6135, 2250, 2880, 255));

    nameTextDirectoryMode = ui::placeNew<NameTextEdit>(surface, "Eingabe_Mit", QRect(15, 2520, 6015, 1095));
    nameTextDirectoryMode->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    nameTextDirectoryMode->setAccessibleName(QStringLiteral("Modifizierte Namen"));
    nameTextDirectoryMode->setAccessibleDescription(
        QStringLiteral("Ein Name je Zeile, ohne Dateiendung; Zeile N gibt dem Eintrag N der Original-Namen seinen neuen Namen."));
    nameTextTextMode = ui::placeNew<NameTextEdit>(surface, "Eingabe_Ohne", QRect(0, 2490, 6015, 1575));
    nameTextTextMode->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    nameTextTextMode->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    nameTextTextMode->setAccessibleName(QStringLiteral("Namen im Textmodus"));
    nameTextTextMode->setAccessibleDescription(
        QStringLiteral("Die Namen als Text, ein Name je Zeile, zum Speichern in eine Datei oder Öffnen aus einer Datei."));
    nameTextTextMode->hide();

    originalNames = new OriginalNamesModel(window);
    originalList = ui::placeNew<ui::NoteListView>(surface, "Original", QRect(6135, 2490, 3375, 5715));
    originalList->setModel(originalNames);
    originalList->setToolTip(QStringLiteral("Dies sind die Original-Datei-Namen"));
    originalList->setUniformItemSizes(true);
    // Laid out in batches between turns of the event loop: a million rows at once held up the window.
    originalList->setLayoutMode(QListView::Batched);
    originalList->setBatchSize(kListLayoutBatch);
    originalList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    originalList->setSelectionMode(QAbstractItemView::SingleSelection);
    originalList->setAccessibleName(QStringLiteral("Original Namen"));
    originalList->setAccessibleDescription(originalListDescription());
}

void MainWindowUi::buildUpperToolbar()
{
    upperToolbar = ui::placeNew<QFrame>(surface, "ErweiterungsFrame", QRect(-45, 1110, 15480, 1065));
    upperToolbar->setFrameShape(QFrame::StyledPanel);
    hideUpperToolbar = ui::makeButton(upperToolbar, "CloseFrame", QString(), QRect(30, 150, 210, 885),
                                      QStringLiteral("Dialog ausschalten"));
    hideUpperToolbar->setStyleSheet(QStringLiteral("background: white; border: 1px solid #a0a0a0;"));
    hideUpperToolbar->setAccessibleName(QStringLiteral("Obere Toolleiste ausblenden"));
    hideUpperToolbar->setAccessibleDescription(QStringLiteral("Blendet die obere Toolleiste aus; die Namen bekommen ihren Platz."));
    pasteBox = ui::placeNew<QLineEdit>(upperToolbar, "Text9", QRect(375, 1200, 2000, 285));
    pasteBox->setToolTip(QStringLiteral("nur ein Text-Feld zum zwischen-Pasten"));
    // Below the toolbar's visible band, as the paste box; they do nothing.
    ui::makeButton(upperToolbar, "Command14", QStringLiteral("Frame ausblenden >>"), QRect(2500, 1200, 1800, 285));
    auto* unusedFrameButton = ui::makeButton(surface, "Command15", QStringLiteral("Frame >>"), QRect(9045, 600, 870, 225));
    unusedFrameButton->hide();
    unusedFrameButton->setEnabled(false);

    resetToolbars = makeImageButton(surface, "Command18", QStringLiteral("Tool-Leisten wieder einblenden"), ui::restoreToolbarsPicture(),
                                    QRect(9045, 840, 870, 225), QStringLiteral("Toolleisten wieder einblenden"),
                                    QStringLiteral("Zeigt die ausgeblendeten Toolleisten wieder an."));
    resetToolbars->hide();
    showLowerToolbar = makeImageButton(surface, "ShowControlsDialogButton", QStringLiteral("Dialog einblenden"),
                                       ui::showLowerToolbarPicture(), QRect(0, 8160, 255, 495),
                                       QStringLiteral("Untere Toolleiste einblenden"),
                                       QStringLiteral("Zeigt die untere Toolleiste mit den Befehlen wieder an."));
    showLowerToolbar->hide();  // shown only while the lower toolbar is hidden
}

void MainWindowUi::buildLowerToolbar()
{
    lowerToolbar = ui::placeNew<QGroupBox>(surface, "ControlsFrame", QRect(0, 6720, 12855, 1215));
    QWidget* f = lowerToolbar;
    hideLowerToolbar = makeImageButton(f, "CloseFrame2", QStringLiteral("Dialog ausblenden"), ui::hideLowerToolbarPicture(),
                                       QRect(75, 255, 210, 795), QStringLiteral("Untere Toolleiste ausblenden"),
                                       QStringLiteral("Blendet die untere Toolleiste aus; die Namen bekommen ihren Platz."));

    const int row1 = 180;
    const int row2 = 660;
    const int h = 375;
    restoreNames = ui::makeButton(f, "OrigNamen", QStringLiteral("&Original Namen"), QRect(360, row1, 1560, h),
                                  QStringLiteral("Trägt die Original-Dateinamen wieder ein  (setzt sie aber noch nicht!)"));
    rename = ui::makeButton(f, "Setzen", QStringLiteral("Namen &Setzen"), QRect(1980, row1, 1560, h),
                            QStringLiteral("Hier werden die geänderten Namen gesetzt!"));
    saveTextFile = ui::makeButton(f, "Command7", QStringLiteral("<< Datei &Speichern"), QRect(360, row1, 1560, h));
    openTextFile = ui::makeButton(f, "Command8", QStringLiteral("Datei &öffnen >>"), QRect(1980, row1, 1560, h));
    saveTextFile->hide();
    openTextFile->hide();
    textMode = ui::makeButton(f, "Command6", QStringLiteral("Text-&Modus"), QRect(3600, row1, 1320, h),
                              QStringLiteral("In den Textmodus springen. Dient zum Speichern des Inhalts in eine Datei"));
    number = ui::makeButton(f, "Nummerieren", QStringLiteral("Nr. set&zen"), QRect(4980, row1, 1230, h),
                            QStringLiteral("Führt eine aufsteigende Nummerierung durch (01..99)"));
    removeNumbers = ui::makeButton(f, "Nummern_Entf", QStringLiteral("Nr. ent&fernen"), QRect(6270, row1, 1290, h),
                                   QStringLiteral("Entfernt die Nummerierung wieder"));
    chooseDirectory = ui::makeButton(f, "Verzeichnis", QStringLiteral("&Neues Verz >>"), QRect(7620, row1, 1500, h),
                                     QStringLiteral("Ein anderes Verzeichnis wählen"));
    exit = ui::makeButton(f, "Abbruch", QStringLiteral("&Exit"), QRect(9180, row1, 1200, h),
                          QStringLiteral("Beendet dieses tolle Programm   ;-)"));

    umlauts = ui::makeButton(f, "Command5", QStringLiteral("ü -> &ue"), QRect(360, row2, 1200, h));
    underscores = ui::makeButton(f, "Command1", QStringLiteral("'_'  => '  '"), QRect(1620, row2, 1380, h),
                                 QStringLiteral("Unterstriche durch Leerzeichen ersetzten"));
    trimBlanks = ui::makeButton(f, "Command2", QStringLiteral("..abc..  =>  abc"), QRect(3060, row2, 1500, h),
                                QStringLiteral("Leerzeichen am Anfang und am Ende einer Zeile abschneiden"));
    letterCase = ui::makeButton(f, "Command4", QStringLiteral("ABCD => abcd"), QRect(4620, row2, 1380, h));
    capitalise = ui::makeButton(
        f, "WordUcase", QStringLiteral("abcd => Abcd"), QRect(6060, row2, 1380, h),
        QStringLiteral("Buchstaben nach Leerzeichen in Großbuchstaben umwandeln (alle Wörter fangen mit Großbuchstaben an)"));

    alwaysOnTop = ui::placeNew<QCheckBox>(f, "AlwaysOnTop", QRect(7500, row2, 1100, h));
    alwaysOnTop->setText(QStringLiteral("On to&p"));
    alwaysOnTop->setToolTip(QStringLiteral("Show always on top"));
    alwaysOnTop->hide();
    alwaysOnTopControl = new AlwaysOnTop(f);
    alwaysOnTopControl->setObjectName(QStringLiteral("AlwaysOnTop1"));
    alwaysOnTopControl->move(twips::toPixels(9840), twips::toPixels(720));

    updateLink = ui::makeLabel(f, "Label3", QStringLiteral("Update"), QRect(10500, row1, 900, 255),
                               QStringLiteral("Auf Update überprüfen"));
    homepageLink = ui::makeLabel(f, "Label4", QStringLiteral("Homepage"), QRect(10500, 480, 1100, 255),
                                 QStringLiteral("Gäestebuch (Homepage) öffnen"));
    version = ui::makeLabel(f, "MenuVersion", QStringLiteral("Version"), QRect(10500, 780, 1800, 255),
                            QStringLiteral("Gäestebuch (Homepage) öffnen"));
}

void MainWindowUi::buildToolFrames()
{
    searchFixed = new SearchReplaceFrame(
        surface, {"Frame5", "Text4", "Text5", "Check2", "Command11", "Suchen && Ersetzen ('*' = Platzhalter)"},
        QRect(120, 120, 3015, 945), true);
    appendFixed = new AppendFrame(surface, {"Frame4", "Text3", "Option1", "Option2", "Command10", "CDCombo", "Command19", "AutoCDCombo"},
                                  QRect(3240, 120, 3735, 975), true);
    cutFixed = new CutFrame(surface, {"Frame8", "Text8", "Option7", "Option8", "Command13"}, QRect(7080, 120, 1815, 945), true);

    searchTop = new SearchReplaceFrame(upperToolbar, {"Frame3", "Text1", "Text2", "Check1", "Command9", "Suchen && Ersetzen"},
                                       QRect(375, 75, 2895, 975), true);
    searchTop2 = new SearchReplaceFrame(upperToolbar, {"Frame10", "Text11", "Text12", "Check3", "Command17", "Suchen && Ersetzen"},
                                        QRect(3240, 75, 3015, 975), true);
    appendTop = new AppendFrame(upperToolbar, {"Frame6", "Text6", "Option3", "Option4", "Command12", "CDCombo2", "Command20", nullptr},
                                QRect(6240, 75, 3015, 975), true);
    appendTop2 = new AppendFrame(upperToolbar, {"Frame9", "Text10", "Option9", "Option10", "Command16"},
                                 QRect(9240, 75, 3015, 975), true);
    cutTop = new CutFrame(upperToolbar, {"Frame7", "Text7", "Option5", "Option6", "Command3"}, QRect(12240, 75, 2055, 975), true);

    // Hidden main tools; the copies feed them.
    searchMain = new SearchReplaceFrame(surface, {"Frame1", "Such", "Ersetz", "CB_MachCase", "Ersetzen", "Suchen && Ersetzen"},
                                        QRect(0, 0, 3015, 975), false);
    appendMain = new AppendFrame(surface, {"TextAnhängen", "Anhaengen", "RechtsAnh", "LinksAnh", "BtnAnhaengen"},
                                 QRect(0, 0, 3015, 975), false);
    cutMain = new CutFrame(surface, {"Frame2", "BeschWert", "FromRight", "FromLeft", "Beschneiden"}, QRect(0, 0, 2055, 975), false);
    for (QWidget* hidden : std::initializer_list<QWidget*>{searchMain, appendMain, cutMain})
        hidden->hide();
}

void MainWindowUi::buildMenus(QMainWindow* window)
{
    using ui::addMenuItem;
    using ui::addMenuSeparator;
    QMenuBar* bar = window->menuBar();
    QMenu* datei = bar->addMenu(QStringLiteral("&Datei"));
    datei->setObjectName(QStringLiteral("SubMenDatei"));
    menuRestoreNames = addMenuItem(datei, "MEnuOriginalHerstellen", QStringLiteral("Original Namen wiederherstellen"),
                                   QKeySequence(Qt::CTRL | Qt::Key_O));
    menuRename = addMenuItem(datei, "MenuNamenSetzen", QStringLiteral("Namen Setzen"), QKeySequence(Qt::CTRL | Qt::Key_S));
    menuUndoLastRename = addMenuItem(datei, "MenLetzteUmbenennungRueckgaengig",
                                     QStringLiteral("Letzte Umbenennung rückgängig machen"));
    menuUndoLastRename->setEnabled(false);
    addMenuSeparator(datei, "Trenn55");
    menuChooseDirectory = addMenuItem(datei, "MenNeuesVerzeichnis", QStringLiteral("Neues Verzeichnis"),
                                      QKeySequence(Qt::CTRL | Qt::Key_N));
    addMenuSeparator(datei, "Trenn3");
    menuSaveTextFile = addMenuItem(datei, "MenDateiSpeichern", QStringLiteral("Als Text-Datei Speichern"));
    menuOpenTextFile = addMenuItem(datei, "MenDateiÖffnen", QStringLiteral("Text-Datei öffnen"));
    addMenuSeparator(datei, "trenn4");
    menuExit = addMenuItem(datei, "MenAbbruch_Click", QStringLiteral("&Beenden"));

    QMenu* format = bar->addMenu(QStringLiteral("&Formatierung"));
    format->setObjectName(QStringLiteral("SubMenFormatierung"));
    menuCapitalise = addMenuItem(format, "MenErsetzen", QStringLiteral("Ersetzten: Ersten Buchstaben groß  abcd => Abcd"));
    menuLetterCase = addMenuItem(format, "MenGroßKleinschreibung", QStringLiteral("Ersetzten: Kleinschreibung  <-> Großschreibung"));
    menuUmlauts = addMenuItem(format, "MenUmlaute", QStringLiteral("Ersetzen: Umlauge  äüö <-> aeueoe"));
    menuUnderscores = addMenuItem(format, "MenUnterstrichErsetzen", QStringLiteral("Ersetzten:  \"_\" <-> \"  \""));
    addMenuSeparator(format, "Trenn1");
    menuTrimBlanks = addMenuItem(format, "MenLeerzeichenentfernen", QStringLiteral("Entfernen: Leerzeichen am Anfang / Ende"));
    addMenuSeparator(format, "Trenn2");
    menuRemoveNumbers = addMenuItem(format, "MenNummernEntfernen", QStringLiteral("Nummern entfernen"));
    menuNumber = addMenuItem(format, "MenNummernSetzen", QStringLiteral("Nummern Setzen"));

    QMenu* ansicht = bar->addMenu(QStringLiteral("&Ansicht"));
    ansicht->setObjectName(QStringLiteral("WenigeBoxenMessage"));
    fewerMessages = addMenuItem(ansicht, "ShowMessageBox", QStringLiteral("Weniger Messageboxen"));
    fewerMessages->setCheckable(true);
    menuAlwaysOnTop = addMenuItem(ansicht, "MenAlwaysOnTop", QStringLiteral("Fenster immer im Vordergrund"));
    menuAlwaysOnTop->setCheckable(true);
    addMenuSeparator(ansicht, "Trenn19");
    menuHideUpperToolbar = addMenuItem(ansicht, "MenFrameAUsblenden", QStringLiteral("Obere Toolleiste ausblenden"));
    menuHideLowerToolbar = addMenuItem(ansicht, "MenuUntereToolleisteAusblenden", QStringLiteral("Untere Toolleiste ausblenden"));
    menuResetToolbars = addMenuItem(ansicht, "MenResetFrames", QStringLiteral("Toolleisten zurücksetzen"));
    addMenuSeparator(ansicht, "Trenn5");
    disableSync = addMenuItem(ansicht, "DisableSync", QStringLiteral("Listen-Synchornisierung abschalten"));
    disableSync->setCheckable(true);

    QMenu* help = bar->addMenu(QStringLiteral("?"));
    help->setObjectName(QStringLiteral("Help"));
    menuTips = addMenuItem(help, "MenTip", QStringLiteral("Tip"));
    addMenuSeparator(help, "Trenn233");
    menuDownload = addMenuItem(help, "Download", QStringLiteral("Download neuste Version"));
    menuHomepage = addMenuItem(help, "Guestbook", QStringLiteral("Homepage"));

}
