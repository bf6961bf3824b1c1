// The main window from a scanned directory to renamed files and back, through its real widgets.
#include "TestSupport.h"
#include "mainwindow/FehlerDialog.h"
#include "mainwindow/NameTextEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

using namespace testsupport;

namespace {

class RenameFlow : public FormTest {
protected:
    void SetUp() override
    {
        store("Options", "Directorys", "0");  // files only
        newForm();
    }
    QString label2() const { return child<QLabel>("Label2")->text(); }
    bool label2Red() const { return child<QLabel>("Label2")->palette().color(QPalette::WindowText) == QColor(255, 0, 0); }
};

}  // namespace

TEST_F(RenameFlow, ScanFillsListTextAndLabelsAndTheCountFollowsTheLines)
{
    TempTree dir({"b.TXT", "a.mp3"});
    open(dir);
    EXPECT_EQ(listed(), QStringList({"a.mp3", "b.TXT"}));
    EXPECT_EQ(text(), crlf({"a", "b"}));
    EXPECT_EQ(form->recoverText(), text());
    EXPECT_EQ(child<QLabel>("Label1")->text(), "Original Namen:  (2 Stück)");
    EXPECT_EQ(label2(), "Modifizierte Namen  (ohne Dateiendung): 2");
    EXPECT_FALSE(form->isModified());
    form->Set_Eingabe_Text(crlf({"a", "b", ""}));
    EXPECT_EQ(label2(), "Modifizierte Namen  (ohne Dateiendung): 3   Anzahl stimmt nicht! ");
    EXPECT_TRUE(label2Red());
    EXPECT_FALSE(child<QPushButton>("Setzen")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("OrigNamen")->isEnabled());
    EXPECT_TRUE(child<QAction>("MEnuOriginalHerstellen")->isEnabled());
    form->Set_Eingabe_Text(crlf({"a", "c"}));
    EXPECT_EQ(label2(), "Modifizierte Namen  (ohne Dateiendung): 2");
    EXPECT_FALSE(label2Red());
    EXPECT_TRUE(child<QPushButton>("Setzen")->isEnabled());
    EXPECT_TRUE(child<QAction>("MenuNamenSetzen")->isEnabled());

    TempTree empty;
    open(empty);
    EXPECT_EQ(child<QLabel>("Label1")->text(), "Original Namen:  (0 Stück)");
    EXPECT_EQ(label2(), "Modifizierte Namen  (ohne Dateiendung): 1   Anzahl stimmt nicht! ");
    EXPECT_TRUE(label2Red());
}

TEST_F(RenameFlow, RefusalsBeforeTheRename)
{
    TempTree dir({"a.mp3", "b.mp3"});
    open(dir);
    form->SetzenClick();
    form->Set_Eingabe_Text(crlf({"x", "y", "z"}));
    form->SetzenClick();
    ASSERT_EQ(messenger.shown.size(), 2);
    EXPECT_EQ(messenger.shown[0], (ShownMessage{"Sie haben keine Änderungen an den Dateinamen vorgenommen!", "Kann nicht Umbenennen!"}));
    EXPECT_EQ(messenger.shown[1],
              (ShownMessage{"Achtung die Anzahl der Eingabe-Dateien stimmt nicht mit der der Ausgabedateien überein", "Fehler"}));

    form->Set_Eingabe_Text(crlf({"same", " same "}));
    messenger.beeps = 0;
    messenger.answerNext(ui::Answer::No);
    form->SetzenClick();
    ASSERT_EQ(messenger.shown.size(), 3);
    EXPECT_EQ(messenger.shown[2].title, "Doppelte Zeilen");
    EXPECT_EQ(messenger.shown[2].buttons, ui::Buttons::YesNo);
    EXPECT_TRUE(messenger.shown[2].text.contains("Zeile: 1 und Zeile: 2 sind gleich!\r\n\r\nName:  'same'"));
    EXPECT_EQ(messenger.beeps, 2);
    EXPECT_EQ(dir.entries(), QStringList({"a.mp3", "b.mp3"}));
}

TEST_F(RenameFlow, CorrectionDialogForInvalidCharacters)
{
    TempTree dir({"a.mp3", "b.mp3"});
    open(dir);
    form->Set_Eingabe_Text(crlf({"xa?b", "a?b"}));
    form->SetzenClick();
    auto* fehler = form->findChild<FehlerDialog*>("Fehler");
    ASSERT_NE(fehler, nullptr);
    EXPECT_TRUE(fehler->isVisible());
    EXPECT_FALSE(fehler->isModal());
    EXPECT_EQ(fehler->windowTitle(), "Die Dateinamen enthalten ungültige Zeichen (\\/*?\"<>|). Dateien werden nicht umbenannt!");
    EXPECT_EQ(fehler->zeile1()->text(), "xa?b");
    // The user mended that line by hand meanwhile: the dialog changes nothing and says so.
    form->Set_Eingabe_Text(crlf({"edited", "a?b"}));
    fehler->zeile2()->setText("fixed");
    fehler->setzenButton()->click();
    EXPECT_EQ(text(), crlf({"edited", "a?b"}));
    ASSERT_EQ(messenger.shown.size(), 1);
    EXPECT_TRUE(messenger.shown[0].text.contains("xa?b"));
    EXPECT_EQ(dir.entries(), QStringList({"a.mp3", "b.mp3"}));

    flushDeletes();  // the closed dialog
    form->SetzenClick();
    fehler = form->findChild<FehlerDialog*>("Fehler");
    ASSERT_NE(fehler, nullptr);
    EXPECT_EQ(fehler->zeile1()->text(), "a?b");
    EXPECT_EQ(fehler->zeile2()->text(), "a?b");
    EXPECT_FALSE(fehler->setzenButton()->isEnabled());
    fehler->zeile2()->setText("A?B");
    EXPECT_FALSE(fehler->setzenButton()->isEnabled());
    fehler->zeile2()->setText("a_b");
    EXPECT_TRUE(fehler->setzenButton()->isEnabled());
    fehler->setzenButton()->click();
    EXPECT_EQ(dir.entries(), QStringList({"a_b.mp3", "edited.mp3"}));
}

TEST_F(RenameFlow, SwapCaseAndExtensionChangesAndTheirRestoreAfterTheListReordered)
{
    TempTree dir;
    for (const char* name : {"a.txt", "b.txt", "c.mp3", "song.mp3"})
        dir.add(name, name);  // each file holds its first name
    open(dir);
    // A swap, a change of case only, and a new extension that moves the entry up the list.
    form->Set_Eingabe_Text(crlf({"b", "a", "C", "aaa.wav"}));
    messenger.beeps = 0;
    form->SetzenClick();
    EXPECT_EQ(messenger.beeps, 2);
    EXPECT_TRUE(messenger.shown.isEmpty());
    EXPECT_EQ(child<QPushButton>("Abbruch")->text(), "Ende");
    EXPECT_FALSE(child<QPushButton>("Setzen")->isEnabled());
    EXPECT_FALSE(form->isModified());
    EXPECT_EQ(dir.withContent(), QStringList({"C.mp3=c.mp3", "a.txt=b.txt", "aaa.wav=song.mp3", "b.txt=a.txt"}));
    EXPECT_EQ(form->originalNames(), QStringList({"a.txt", "aaa.wav", "b.txt", "C.mp3"}));
    EXPECT_EQ(form->recoverText(), crlf({"b", "song.mp3", "a", "c"}));

    form->OrigNamen_Click();
    EXPECT_EQ(text(), form->recoverText());
    EXPECT_FALSE(child<QPushButton>("Setzen")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("OrigNamen")->isEnabled());
    EXPECT_FALSE(child<QAction>("MEnuOriginalHerstellen")->isEnabled());
    EXPECT_TRUE(form->isModified());
    form->SetzenClick();
    EXPECT_EQ(dir.withContent(), QStringList({"a.txt=a.txt", "b.txt=b.txt", "c.mp3=c.mp3", "song.mp3=song.mp3"}));
}

TEST_F(RenameFlow, TypingAndSelectionsUseTheCrLfFormAndReachTheRename)
{
    TempTree dir({"a.mp3", "b.mp3", "c.mp3"});
    open(dir);
    auto* box = child<NameTextEdit>("Eingabe_Mit");
    box->setSelection(0, 4);
    EXPECT_EQ(box->selectedText(), "a\r\nb");
    EXPECT_EQ(box->selectionLength(), 4);
    box->setFocus();
    box->setSelection(3, 1);  // "b" after "a" CR LF
    EXPECT_EQ(box->selectionStart(), 3);
    QTest::keyClicks(box, "x");
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClicks(box, QString(QChar(0x00A0)));
    const QString typed = QString(QChar(0x00A0)) + "x";
    EXPECT_EQ(text(), crlf({"a", typed, "c"}));
    // A selection is no request to delete: the rename leaves the text as it is.
    box->setSelection(0, 1);
    child<QPushButton>("Setzen")->click();
    EXPECT_EQ(dir.entries(), QStringList({"a.mp3", "c.mp3", typed + ".mp3"}));
}

TEST_F(RenameFlow, DoubleClickCopiesANameAfterAsking)
{
    TempTree dir({"song.mp3"});
    open(dir);
    QAction* fewer = child<QAction>("ShowMessageBox");
    fewer->setChecked(false);
    auto* list = child<QListView>("Original");
    QApplication::clipboard()->setText("before");
    messenger.answerNext(ui::Answer::No);
    Q_EMIT list->doubleClicked(list->model()->index(0, 0));
    EXPECT_EQ(QApplication::clipboard()->text(), "before");
    ASSERT_EQ(messenger.shown.size(), 1);
    EXPECT_EQ(messenger.shown[0].title, "Dateinamen in die Zwischenablage?");
    EXPECT_EQ(messenger.shown[0].text, "Dateinamen:\r\"song.mp3\"\r\r in die Zwischenablage kopieren?");
    Q_EMIT list->doubleClicked(list->model()->index(0, 0));
    EXPECT_EQ(QApplication::clipboard()->text(), "song.mp3");
    fewer->setChecked(true);
    QApplication::clipboard()->setText("before");
    Q_EMIT list->doubleClicked(list->model()->index(0, 0));
    EXPECT_EQ(QApplication::clipboard()->text(), "song.mp3");
    EXPECT_EQ(messenger.shown.size(), 2);
}

TEST_F(RenameFlow, TheCaptionTooltipSaysWhatTheListingOptionsLeaveOut)
{
    TempTree dir({"a.mp3", "b.mp3", "sub/"});
    store("Options", "Directorys", "1");
    store("Options", "OnlyDirectorys", "1");
    open(dir);
    EXPECT_EQ(listed(), QStringList({"sub"}));
    const QString tip = child<QLabel>("Label1")->toolTip();
    EXPECT_TRUE(tip.startsWith("2 Dateien dieses Verzeichnisses sind nicht aufgeführt")) << tip.toStdString();
    EXPECT_TRUE(tip.contains("„Neues Verz >>“"));

    store("Options", "Directorys", "0");
    open(dir);
    EXPECT_TRUE(child<QLabel>("Label1")->toolTip().startsWith("1 Verzeichnis dieses Verzeichnisses ist nicht")) << child<QLabel>("Label1")->toolTip().toStdString();
    store("Options", "Directorys", "1");
    store("Options", "OnlyDirectorys", "0");
    open(dir);
    EXPECT_EQ(child<QLabel>("Label1")->toolTip(), "");
}
