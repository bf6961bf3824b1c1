// The main window from a scanned directory to renamed files and back, through its real widgets.
#include "WindowTest.h"
#include "mainwindow/FehlerDialog.h"

#include <QClipboard>

using namespace testsupport;

namespace {

class RenameFlow : public FilesWindowTest {
protected:
    // The count label, with "red" where it is red, and whether the rename can be started.
    QString countState() const
    {
        const auto* label = child<QLabel>("Label2");
        return label->text() + (label->palette().color(QPalette::WindowText) == QColor(255, 0, 0) ? "red" : "")
               + (child<QPushButton>("Setzen")->isEnabled() && child<QAction>("MenuNamenSetzen")->isEnabled() ? " setzen" : "");
    }
    QString caption() const { return child<QLabel>("Label1")->text(); }
};

}  // namespace

TEST_F(RenameFlow, ScanFillsListTextAndLabelsAndTheCountFollowsTheLines)
{
    TempTree dir({"b.TXT", "a.mp3"});
    open(dir);
    EXPECT_EQ(listed(), QStringList({"a.mp3", "b.TXT"}));
    EXPECT_EQ(text(), crlf({"a", "b"}));
    EXPECT_TRUE(form->recoverText() == text() && !form->isModified());
    EXPECT_EQ(caption(), "Original Namen:  (2 Stück)");
    EXPECT_EQ(countState(), "Modifizierte Namen  (ohne Dateiendung): 2");
    form->Set_Eingabe_Text(crlf({"a", "b", ""}));
    EXPECT_EQ(countState(), "Modifizierte Namen  (ohne Dateiendung): 3   Anzahl stimmt nicht! red");
    EXPECT_TRUE(child<QPushButton>("OrigNamen")->isEnabled() && child<QAction>("MEnuOriginalHerstellen")->isEnabled());
    form->Set_Eingabe_Text(crlf({"a", "c"}));
    EXPECT_EQ(countState(), "Modifizierte Namen  (ohne Dateiendung): 2 setzen");

    TempTree empty;
    open(empty);
    EXPECT_EQ(caption(), "Original Namen:  (0 Stück)");
    EXPECT_EQ(countState(), "Modifizierte Namen  (ohne Dateiendung): 1   Anzahl stimmt nicht! red");
}

TEST_F(RenameFlow, RefusalsBeforeTheRename)
{
    TempTree dir({"a.mp3", "b.mp3"});
    open(dir);
    form->SetzenClick();
    form->Set_Eingabe_Text(crlf({"x", "y", "z"}));
    form->SetzenClick();
    form->Set_Eingabe_Text(crlf({"same", " same "}));
    messenger.beeps = 0;
    messenger.answerNext(ui::Answer::No);
    form->SetzenClick();
    ASSERT_EQ(messenger.shown.size(), 3);
    EXPECT_EQ(messenger.shown[0], (ShownMessage{"Sie haben keine Änderungen an den Dateinamen vorgenommen!", "Kann nicht Umbenennen!"}));
    EXPECT_EQ(messenger.shown[1],
              (ShownMessage{"Achtung die Anzahl der Eingabe-Dateien stimmt nicht mit der der Ausgabedateien überein", "Fehler"}));
    EXPECT_TRUE(messenger.shown[2].title == "Doppelte Zeilen" && messenger.shown[2].buttons == ui::Buttons::YesNo
                && messenger.shown[2].text.contains("Zeile: 1 und Zeile: 2 sind gleich!\r\n\r\nName:  'same'"));
    EXPECT_TRUE(messenger.beeps == 2 && dir.entries() == QStringList({"a.mp3", "b.mp3"}));  // beeps: the duplicate question only
}

TEST_F(RenameFlow, CorrectionDialogForInvalidCharacters)
{
    TempTree dir({"a.mp3", "b.mp3"});
    open(dir);
    form->Set_Eingabe_Text(crlf({"xa?b", "a?b"}));
    form->SetzenClick();
    auto* fehler = form->findChild<FehlerDialog*>("Fehler");
    ASSERT_TRUE(fehler && fehler->isVisible() && !fehler->isModal());
    EXPECT_EQ(fehler->zeile1()->text(), "xa?b");
    // The user mended that line by hand meanwhile: the dialog changes nothing and says so.
    form->Set_Eingabe_Text(crlf({"edited", "a?b"}));
    fehler->zeile2()->setText("fixed");
    fehler->setzenButton()->click();
    EXPECT_EQ(text(), crlf({"edited", "a?b"}));
    EXPECT_TRUE(messenger.shown.size() == 1 && messenger.shown[0].text.contains("xa?b") && dir.entries() == QStringList({"a.mp3", "b.mp3"}));

    flushDeletes();  // the closed dialog
    form->SetzenClick();
    fehler = form->findChild<FehlerDialog*>("Fehler");
    ASSERT_NE(fehler, nullptr);
    EXPECT_EQ(fehler->zeile1()->text() + fehler->zeile2()->text(), "a?ba?b");
    // Ok only for a line that differs from the one with the fault other than in case.
    for (const auto& [typed, enabled] : {std::pair{"a?b", false}, {"A?B", false}, {"a_b", true}}) {
        fehler->zeile2()->setText(typed);
        EXPECT_EQ(fehler->setzenButton()->isEnabled(), enabled) << typed;
    }
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
    EXPECT_TRUE(messenger.beeps == 2 && messenger.shown.isEmpty() && child<QPushButton>("Abbruch")->text() == "Ende");
    EXPECT_FALSE(child<QPushButton>("Setzen")->isEnabled() || form->isModified());
    EXPECT_EQ(dir.withContent(), QStringList({"C.mp3=c.mp3", "a.txt=b.txt", "aaa.wav=song.mp3", "b.txt=a.txt"}));
    EXPECT_EQ(form->recoverText(), crlf({"b", "song.mp3", "a", "c"}));

    form->OrigNamen_Click();
    EXPECT_EQ(text(), form->recoverText());
    EXPECT_FALSE(child<QPushButton>("Setzen")->isEnabled() || child<QPushButton>("OrigNamen")->isEnabled()
                 || child<QAction>("MEnuOriginalHerstellen")->isEnabled());
    EXPECT_TRUE(form->isModified());
    form->SetzenClick();
    EXPECT_EQ(dir.withContent(), QStringList({"a.txt=a.txt", "b.txt=b.txt", "c.mp3=c.mp3", "song.mp3=song.mp3"}));
}

TEST_F(RenameFlow, DoubleClickCopiesANameAfterAsking)
{
    TempTree dir({"song.mp3"});
    open(dir);
    QAction* fewer = child<QAction>("ShowMessageBox");
    fewer->setChecked(false);
    auto* list = child<QListView>("Original");
    auto doubleClick = [&](const char* clipboardBefore) {
        QApplication::clipboard()->setText(clipboardBefore);
        Q_EMIT list->doubleClicked(list->model()->index(0, 0));
        return QApplication::clipboard()->text();
    };
    messenger.answerNext(ui::Answer::No);
    EXPECT_EQ(doubleClick("before"), "before");
    EXPECT_EQ(messenger.shown.value(0).title + messenger.shown.value(0).text,
              "Dateinamen in die Zwischenablage?Dateinamen:\r\"song.mp3\"\r\r in die Zwischenablage kopieren?");
    EXPECT_EQ(doubleClick("before"), "song.mp3");
    fewer->setChecked(true);  // without the question
    EXPECT_TRUE(doubleClick("before") == "song.mp3" && messenger.shown.size() == 2);
}
