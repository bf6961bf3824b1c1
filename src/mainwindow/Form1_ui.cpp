// Construction of the main window's controls and menus, and its layout.
#include "mainwindow/Form1.h"

#include "mainwindow/NameTextEdit.h"
#include "mainwindow/ToolFrames.h"
#include "settings/Twips.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QTimer>
#include <QToolButton>

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, const QRect& twipsRect,
                        const QString& tip = QString())
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setGeometry(twips::rect(twipsRect.x(), twipsRect.y(), twipsRect.width(), twipsRect.height()));
    if (!tip.isEmpty())
        b->setToolTip(tip);
    return b;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, const QRect& twipsRect,
                  const QString& tip = QString())
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QString::fromUtf8(name));
    l->setGeometry(twips::rect(twipsRect.x(), twipsRect.y(), twipsRect.width(), twipsRect.height()));
    if (!tip.isEmpty())
        l->setToolTip(tip);
    return l;
}

// Small pictures of the toolbar buttons, drawn so that no image files are needed.
QIcon arrowIcon(bool down)
{
    QPixmap pm(12, 12);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(60, 60, 60));
    p.setPen(Qt::NoPen);
    QPolygon tri;
    if (down)
        tri << QPoint(1, 3) << QPoint(11, 3) << QPoint(6, 9);
    else
        tri << QPoint(3, 1) << QPoint(9, 6) << QPoint(3, 11);
    p.drawPolygon(tri);
    return QIcon(pm);
}

QIcon crossIcon()
{
    QPixmap pm(10, 10);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.drawLine(2, 2, 8, 8);
    p.drawLine(8, 2, 2, 8);
    return QIcon(pm);
}

QAction* addItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& key = QKeySequence())
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromUtf8(name));
    if (!key.isEmpty())
        a->setShortcut(key);
    return a;
}

void addSeparator(QMenu* menu, const char* name)
{
    QAction* s = menu->addSeparator();
    s->setObjectName(QString::fromUtf8(name));
}

}  // namespace

void Form1::buildUi()
{
    setObjectName(QStringLiteral("Form1"));
    // The controls are placed in twips for a compact dialog look; slim buttons keep their captions whole.
    setStyleSheet(QStringLiteral("QPushButton { padding: 1px 4px; } QGroupBox QPushButton { padding: 0px 1px; }"));
    m_central = new QWidget(this);
    m_central->setObjectName(QStringLiteral("Form1Surface"));
    setCentralWidget(m_central);

    m_label2 = makeLabel(m_central, "Label2", QStringLiteral("Modifizierte Namen  (ohne Dateiendung):"),
                         QRect(135, 2250, 5655, 255));
    m_label1 = makeLabel(m_central, "Label1", QStringLiteral("Original Namen:"), QRect(6135, 2250, 2880, 255));

    m_eingabeMit = new NameTextEdit(m_central);
    m_eingabeMit->setObjectName(QStringLiteral("Eingabe_Mit"));
    m_eingabeMit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_eingabeMit->setGeometry(twips::rect(15, 2520, 6015, 1095));
    m_eingabeOhne = new NameTextEdit(m_central);
    m_eingabeOhne->setObjectName(QStringLiteral("Eingabe_Ohne"));
    m_eingabeOhne->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_eingabeOhne->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_eingabeOhne->setGeometry(twips::rect(0, 2490, 6015, 1575));
    m_eingabeOhne->hide();
    m_nameBox = m_eingabeMit;

    m_original = new QListWidget(m_central);
    m_original->setObjectName(QStringLiteral("Original"));
    m_original->setToolTip(QStringLiteral("Dies sind die Original-Datei-Namen"));
    m_original->setUniformItemSizes(true);  // measuring 100,000 items one by one takes far too long
    m_original->setGeometry(twips::rect(6135, 2490, 3375, 5715));

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(500);

    // Upper toolbar: a frame without caption holding five tool frames.
    m_erweiterungsFrame = new QFrame(m_central);
    m_erweiterungsFrame->setObjectName(QStringLiteral("ErweiterungsFrame"));
    m_erweiterungsFrame->setFrameShape(QFrame::StyledPanel);
    m_erweiterungsFrame->setGeometry(twips::rect(-45, 1110, 15480, 1065));
    m_closeFrame = makeButton(m_erweiterungsFrame, "CloseFrame", QString(), QRect(30, 150, 210, 885),
                              QStringLiteral("Dialog ausschalten"));
    m_closeFrame->setStyleSheet(QStringLiteral("background: white; border: 1px solid #a0a0a0;"));
    m_text9 = new QLineEdit(m_erweiterungsFrame);
    m_text9->setObjectName(QStringLiteral("Text9"));
    m_text9->setToolTip(QStringLiteral("nur ein Text-Feld zum zwischen-Pasten"));
    m_text9->setGeometry(twips::rect(375, 1200, 2000, 285));
    makeButton(m_erweiterungsFrame, "Command14", QStringLiteral("Frame ausblenden >>"), QRect(2500, 1200, 1800, 285));
    auto* command15 = makeButton(m_central, "Command15", QStringLiteral("Frame >>"), QRect(9045, 600, 870, 225));
    command15->hide();
    command15->setEnabled(false);

    m_command18 = new QToolButton(m_central);
    m_command18->setObjectName(QStringLiteral("Command18"));
    m_command18->setToolTip(QStringLiteral("Tool-Leisten wieder einblenden"));
    m_command18->setIcon(arrowIcon(true));
    m_command18->setGeometry(twips::rect(9045, 840, 870, 225));
    m_command18->hide();

    m_showControlsDialogButton = new QToolButton(m_central);
    m_showControlsDialogButton->setObjectName(QStringLiteral("ShowControlsDialogButton"));
    m_showControlsDialogButton->setToolTip(QStringLiteral("Dialog einblenden"));
    m_showControlsDialogButton->setIcon(arrowIcon(false));
    m_showControlsDialogButton->setGeometry(twips::rect(0, 8160, 255, 495));

    buildControlsFrame();
    buildToolFrames();
    buildMenus();

    // A window that fits the controls as placed, about 15480 by 8720 twips.
    resize(twips::toPixels(15480), twips::toPixels(8720));
}

void Form1::buildControlsFrame()
{
    m_controlsFrame = new QGroupBox(m_central);
    m_controlsFrame->setObjectName(QStringLiteral("ControlsFrame"));
    m_controlsFrame->setGeometry(twips::rect(0, 6720, 12855, 1215));
    QWidget* f = m_controlsFrame;

    m_closeFrame2 = new QToolButton(f);
    m_closeFrame2->setObjectName(QStringLiteral("CloseFrame2"));
    m_closeFrame2->setToolTip(QStringLiteral("Dialog ausblenden"));
    m_closeFrame2->setIcon(crossIcon());
    m_closeFrame2->setGeometry(twips::rect(75, 255, 210, 795));

    const int row1 = 180;
    const int row2 = 660;
    const int h = 375;
    m_origNamen = makeButton(f, "OrigNamen", QStringLiteral("&Original Namen"), QRect(360, row1, 1560, h),
                             QStringLiteral("Trägt die Original-Dateinamen wieder ein  (setzt sie aber noch nicht!)"));
    m_setzen = makeButton(f, "Setzen", QStringLiteral("Namen &Setzen"), QRect(1980, row1, 1560, h),
                          QStringLiteral("Hier werden die geänderten Namen gesetzt!"));
    m_command7 = makeButton(f, "Command7", QStringLiteral("<< Datei &Speichern"), QRect(360, row1, 1560, h));
    m_command8 = makeButton(f, "Command8", QStringLiteral("Datei &öffnen >>"), QRect(1980, row1, 1560, h));
    m_command7->hide();
    m_command8->hide();
    m_command6 = makeButton(f, "Command6", QStringLiteral("Text-&Modus"), QRect(3600, row1, 1320, h),
                            QStringLiteral("In den Textmodus springen. Dient zum Speichern des Inhalts in eine Datei"));
    m_command6->setEnabled(false);  // text mode is not part of this build yet
    m_nummerieren = makeButton(f, "Nummerieren", QStringLiteral("Nr. set&zen"), QRect(4980, row1, 1230, h),
                               QStringLiteral("Führt eine aufsteigende Nummerierung durch (01..99)"));
    m_nummernEntf = makeButton(f, "Nummern_Entf", QStringLiteral("Nr. ent&fernen"), QRect(6270, row1, 1290, h),
                               QStringLiteral("Entfernt die Nummerierung wieder"));
    m_verzeichnis = makeButton(f, "Verzeichnis", QStringLiteral("&Neues Verz >>"), QRect(7620, row1, 1500, h),
                               QStringLiteral("Ein anderes Verzeichnis wählen"));
    m_abbruch = makeButton(f, "Abbruch", QStringLiteral("&Exit"), QRect(9180, row1, 1200, h),
                           QStringLiteral("Beendet dieses tolle Programm   ;-)"));

    m_command5 = makeButton(f, "Command5", QStringLiteral("ü -> &ue"), QRect(360, row2, 1200, h));
    m_command1 = makeButton(f, "Command1", QStringLiteral("'_'  => '  '"), QRect(1620, row2, 1380, h),
                            QStringLiteral("Unterstriche durch Leerzeichen ersetzten"));
    m_command2 = makeButton(f, "Command2", QStringLiteral("..abc..  =>  abc"), QRect(3060, row2, 1500, h),
                            QStringLiteral("Leerzeichen am Anfang und am Ende einer Zeile abschneiden"));
    m_command4 = makeButton(f, "Command4", QStringLiteral("ABCD => abcd"), QRect(4620, row2, 1380, h));
    m_wordUcase = makeButton(
        f, "WordUcase", QStringLiteral("abcd => Abcd"), QRect(6060, row2, 1380, h),
        QStringLiteral("Buchstaben nach Leerzeichen in Großbuchstaben umwandeln (alle Wörter fangen mit Großbuchstaben an)"));

    m_alwaysOnTop = new QCheckBox(QStringLiteral("On to&p"), f);
    m_alwaysOnTop->setObjectName(QStringLiteral("AlwaysOnTop"));
    m_alwaysOnTop->setToolTip(QStringLiteral("Show always on top"));
    m_alwaysOnTop->setGeometry(twips::rect(7500, row2, 1100, h));
    m_alwaysOnTop->hide();

    m_label3 = makeLabel(f, "Label3", QStringLiteral("Update"), QRect(10500, row1, 900, 255),
                         QStringLiteral("Auf Update überprüfen"));
    m_label4 = makeLabel(f, "Label4", QStringLiteral("Homepage"), QRect(10500, 480, 1100, 255),
                         QStringLiteral("Gäestebuch (Homepage) öffnen"));
    m_menuVersion = makeLabel(f, "MenuVersion", QStringLiteral("Version"), QRect(10500, 780, 1800, 255),
                              QStringLiteral("Gäestebuch (Homepage) öffnen"));
    // Update and homepage are not available in this build; the labels show greyed out rather than as links.
    m_label3->setEnabled(false);
    m_label4->setEnabled(false);
}

void Form1::buildMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* datei = bar->addMenu(QStringLiteral("&Datei"));
    datei->setObjectName(QStringLiteral("SubMenDatei"));
    m_menOriginalHerstellen = addItem(datei, "MEnuOriginalHerstellen", QStringLiteral("Original Namen wiederherstellen"),
                                      QKeySequence(Qt::CTRL | Qt::Key_O));
    m_menuNamenSetzen = addItem(datei, "MenuNamenSetzen", QStringLiteral("Namen Setzen"), QKeySequence(Qt::CTRL | Qt::Key_S));
    addSeparator(datei, "Trenn55");
    m_menNeuesVerzeichnis = addItem(datei, "MenNeuesVerzeichnis", QStringLiteral("Neues Verzeichnis"),
                                    QKeySequence(Qt::CTRL | Qt::Key_N));
    addSeparator(datei, "Trenn3");
    m_menDateiSpeichern = addItem(datei, "MenDateiSpeichern", QStringLiteral("Als Text-Datei Speichern"));
    m_menDateiOeffnen = addItem(datei, "MenDateiÖffnen", QStringLiteral("Text-Datei öffnen"));
    addSeparator(datei, "trenn4");
    m_menAbbruch = addItem(datei, "MenAbbruch_Click", QStringLiteral("&Beenden"));

    QMenu* format = bar->addMenu(QStringLiteral("&Formatierung"));
    format->setObjectName(QStringLiteral("SubMenFormatierung"));
    m_menErsetzen = addItem(format, "MenErsetzen", QStringLiteral("Ersetzten: Ersten Buchstaben groß  abcd => Abcd"));
    m_menGrossKlein = addItem(format, "MenGroßKleinschreibung", QStringLiteral("Ersetzten: Kleinschreibung  <-> Großschreibung"));
    m_menUmlaute = addItem(format, "MenUmlaute", QStringLiteral("Ersetzen: Umlauge  äüö <-> aeueoe"));
    m_menUnterstrich = addItem(format, "MenUnterstrichErsetzen", QStringLiteral("Ersetzten:  \"_\" <-> \"  \""));
    addSeparator(format, "Trenn1");
    m_menLeerzeichen = addItem(format, "MenLeerzeichenentfernen", QStringLiteral("Entfernen: Leerzeichen am Anfang / Ende"));
    addSeparator(format, "Trenn2");
    m_menNummernEntfernen = addItem(format, "MenNummernEntfernen", QStringLiteral("Nummern entfernen"));
    m_menNummernSetzen = addItem(format, "MenNummernSetzen", QStringLiteral("Nummern Setzen"));

    QMenu* ansicht = bar->addMenu(QStringLiteral("&Ansicht"));
    ansicht->setObjectName(QStringLiteral("WenigeBoxenMessage"));
    m_showMessageBox = addItem(ansicht, "ShowMessageBox", QStringLiteral("Weniger Messageboxen"));
    m_showMessageBox->setCheckable(true);
    m_menAlwaysOnTop = addItem(ansicht, "MenAlwaysOnTop", QStringLiteral("Fenster immer im Vordergrund"));
    m_menAlwaysOnTop->setCheckable(true);
    addSeparator(ansicht, "Trenn19");
    m_menFrameAusblenden = addItem(ansicht, "MenFrameAUsblenden", QStringLiteral("Obere Toolleiste ausblenden"));
    m_menUntereToolleiste = addItem(ansicht, "MenuUntereToolleisteAusblenden", QStringLiteral("Untere Toolleiste ausblenden"));
    m_menResetFrames = addItem(ansicht, "MenResetFrames", QStringLiteral("Toolleisten zurücksetzen"));
    addSeparator(ansicht, "Trenn5");
    m_disableSync = addItem(ansicht, "DisableSync", QStringLiteral("Listen-Synchornisierung abschalten"));
    m_disableSync->setCheckable(true);

    QMenu* help = bar->addMenu(QStringLiteral("?"));
    help->setObjectName(QStringLiteral("Help"));
    m_menTip = addItem(help, "MenTip", QStringLiteral("Tip"));
    addSeparator(help, "Trenn233");
    m_download = addItem(help, "Download", QStringLiteral("Download neuste Version"));
    m_guestbook = addItem(help, "Guestbook", QStringLiteral("Homepage"));

    // Commands that this build does not carry yet are shown but disabled, never faked.
    for (QAction* a : {m_menDateiSpeichern, m_menDateiOeffnen, m_download, m_guestbook, m_disableSync})
        a->setEnabled(false);
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void Form1::Form_Resize()
{
    const QRect outer = frameGeometry();
    const int W = twips::fromPixels(outer.width());
    const int H = twips::fromPixels(outer.height());
    if (W < 1000 || H < 3300)
        return;
    auto setHeight = [](QWidget* w, int t) { w->resize(w->width(), qMax(0, twips::toPixels(t))); };
    auto setWidth = [](QWidget* w, int t) { w->resize(qMax(0, twips::toPixels(t)), w->height()); };
    auto heightOf = [](QWidget* w) { return twips::fromPixels(w->height()); };
    auto widthOf = [](QWidget* w) { return twips::fromPixels(w->width()); };

    int textHeight = m_controlsFrame->isVisibleTo(this) ? H - 2350 - 2000 : H - 3300;
    if (!m_erweiterungsFrame->isVisibleTo(this))
        textHeight += 1100;
    setHeight(m_eingabeOhne, textHeight);
    setHeight(m_eingabeMit, heightOf(m_eingabeOhne));
    if (m_original->isVisibleTo(this)) {
        const int w = W - widthOf(m_original) - 300;
        setWidth(m_eingabeMit, w);
        setWidth(m_eingabeOhne, w);
        m_original->move(m_eingabeOhne->x() + m_eingabeOhne->width(), m_original->y());
        setHeight(m_original, heightOf(m_eingabeOhne) + 60);
    } else {
        setWidth(m_eingabeOhne, W - 250);
        setWidth(m_eingabeMit, W - 380);
        m_eingabeOhne->move(m_eingabeMit->x(), m_eingabeOhne->y());
    }
    m_label1->move(m_original->x(), m_label1->y());
    if (m_controlsFrame->isVisibleTo(this))
        m_controlsFrame->move(m_controlsFrame->x(), twips::toPixels(H - 2000));
    setWidth(m_erweiterungsFrame, W);
    setWidth(m_controlsFrame, W);
    m_showControlsDialogButton->move(m_showControlsDialogButton->x(), twips::toPixels(H - 1200));
    // The name text reaches a little below the lower toolbar's top edge; the toolbar stays in front.
    m_controlsFrame->raise();
    m_showControlsDialogButton->raise();
}

void Form1::CloseFrame_Click()
{
    if (!m_erweiterungsFrame->isVisibleTo(this))
        return;
    const int d = twips::toPixels(1100);
    m_erweiterungsFrame->hide();
    m_eingabeMit->setGeometry(m_eingabeMit->x(), m_eingabeMit->y() - d, m_eingabeMit->width(), m_eingabeMit->height() + d);
    m_eingabeOhne->setGeometry(m_eingabeOhne->x(), m_eingabeMit->y(), m_eingabeOhne->width(), m_eingabeMit->height());
    m_label1->move(m_label1->x(), m_label1->y() - d);
    m_original->setGeometry(m_original->x(), m_original->y() - d, m_original->width(), m_original->height() + d);
    m_label2->move(m_label2->x(), m_label2->y() - d);
    m_command18->show();
    Form_Resize();
}

void Form1::CloseFrame2_Click()
{
    if (!m_controlsFrame->isVisibleTo(this))
        return;
    const int d = twips::toPixels(2000);
    m_controlsFrame->hide();
    m_original->resize(m_original->width(), m_original->height() + d);
    m_eingabeMit->resize(m_eingabeMit->width(), m_eingabeMit->height() + d);
    m_eingabeOhne->resize(m_eingabeOhne->width(), m_eingabeMit->height());
    Form_Resize();
    m_showControlsDialogButton->show();
    m_command18->show();
}

void Form1::ShowControlsDialogButton_Click()
{
    const int d = twips::toPixels(2000);
    if (!m_controlsFrame->isVisibleTo(this)) {
        m_controlsFrame->show();
        m_original->resize(m_original->width(), m_original->height() - d);
        m_eingabeMit->resize(m_eingabeMit->width(), m_eingabeMit->height() - d);
    }
    m_eingabeOhne->setGeometry(m_eingabeOhne->x(), m_eingabeMit->y(), m_eingabeOhne->width(), m_eingabeMit->height());
    Form_Resize();
    m_showControlsDialogButton->hide();
}

void Form1::Command18_Click()
{
    m_command18->setEnabled(false);
    if (!m_erweiterungsFrame->isVisibleTo(this)) {
        const int d = twips::toPixels(1100);
        m_erweiterungsFrame->show();
        m_eingabeMit->setGeometry(m_eingabeMit->x(), m_eingabeMit->y() + d, m_eingabeMit->width(), m_eingabeMit->height() - d);
        m_label1->move(m_label1->x(), m_label1->y() + d);
        m_original->move(m_original->x(), m_original->y() + d);
        m_original->resize(m_original->width(), m_eingabeMit->height());
        m_label2->move(m_label2->x(), m_label2->y() + d);
    }
    m_controlsFrame->move(twips::toPixels(60), m_controlsFrame->y());
    if (!m_controlsFrame->isVisibleTo(this)) {
        const int d = twips::toPixels(2000);
        m_controlsFrame->show();
        m_original->resize(m_original->width(), m_original->height() - d);
        m_eingabeMit->resize(m_eingabeMit->width(), m_eingabeMit->height() - d);
        m_showControlsDialogButton->hide();
    }
    m_eingabeOhne->setGeometry(m_eingabeOhne->x(), m_eingabeMit->y(), m_eingabeOhne->width(), m_eingabeMit->height());
    m_command18->hide();
    m_command18->setEnabled(true);
    Form_Resize();
}
