// The main window from a scanned directory to renamed files and back, through its real widgets.
#include "TestSupport.h"
#include "mainwindow/FehlerDialog.h"
#include "mainwindow/Form1.h"
#include "mainwindow/NameTextEdit.h"
#include "settings/AppDefOps.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <memory>

using testsupport::crlf;
using testsupport::ScriptedMessenger;
using testsupport::SettingsSandbox;
using testsupport::TempTree;

namespace {

class RenameFlow : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDefOps::SaveAppSetting("Options", "Directorys", "0");  // files only
        form = std::make_unique<Form1>();
    }
    void TearDown() override
    {
        form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void open(const TempTree& dir)
    {
        form->set_Startpfad(dir.path());
        form->InitializeMe();
    }
    template <class T>
    T* child(const char* name) const
    {
        T* w = form->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString label2() const { return child<QLabel>("Label2")->text(); }
    bool label2Red() const { return child<QLabel>("Label2")->palette().color(QPalette::WindowText) == QColor(255, 0, 0); }

    SettingsSandbox settings;
    ScriptedMessenger messages;
    std::unique_ptr<Form1> form;
};

QByteArray contentOf(const TempTree& dir, const QString& name)
{
    QFile f(dir.file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

TEST_F(RenameFlow, ScanFillsListTextAndLabels)
{
    TempTree dir({"b.TXT", "a.mp3", "C.jpeg", "x"});
    open(dir);
    EXPECT_TRUE(form->windowTitle().endsWith('/'));
    EXPECT_EQ(form->Get_Eingabe_Text(), crlf({"a", "b", "C.jpeg", "x"}));
    EXPECT_EQ(form->recoverText(), form->Get_Eingabe_Text());
    EXPECT_EQ(child<QListWidget>("Original")->count(), 4);
    EXPECT_EQ(child<QListWidget>("Original")->item(1)->text(), "b.TXT");
    EXPECT_EQ(child<QLabel>("Label1")->text(), "Original Namen:  (4 Stück)");
    EXPECT_EQ(label2(), "Modifizierte Namen  (ohne Dateiendung): 4");
    EXPECT_FALSE(form->isModified());
    EXPECT_FALSE(child<QPushButton>("Setzen")->isEnabled());
    EXPECT_FALSE(child<QAction>("MenuNamenSetzen")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("OrigNamen")->isEnabled());
    EXPECT_FALSE(child<QAction>("MEnuOriginalHerstellen")->isEnabled());
}

TEST_F(RenameFlow, CountLabelFollowsTheLineCount)
{
    TempTree dir({"a.mp3", "b.mp3"});
    open(dir);
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

TEST_F(RenameFlow, RenamesWithTheExtensionRuleAndBeeps)
{
    TempTree dir({"1.mp3", "2.mp3", "3.mp3", "4.mp3", "README"});
    open(dir);
    form->Set_Eingabe_Text(crlf({"b", "c.wav", "d.jpeg", "ab", "README.txt"}));
    messages.beeps = 0;
    form->SetzenClick();
    EXPECT_EQ(dir.entries(), QStringList({"README.txt", "ab.mp3", "b.mp3", "c.wav", "d.jpeg.mp3"}));
    EXPECT_EQ(messages.beeps, 2);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(child<QPushButton>("Abbruch")->text(), "Ende");
    EXPECT_FALSE(child<QPushButton>("Setzen")->isEnabled());
    EXPECT_FALSE(form->isModified());
    EXPECT_EQ(form->originalNames(), QStringList({"ab.mp3", "b.mp3", "c.wav", "d.jpeg.mp3", "README.txt"}));
}

TEST_F(RenameFlow, RefusalsBeforeTheRename)
{
    TempTree dir({"a.mp3", "b.mp3"});
    open(dir);
    form->SetzenClick();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown.at(0).title, "Kann nicht Umbenennen!");
    EXPECT_EQ(messages.shown.at(0).text, "Sie haben keine Änderungen an den Dateinamen vorgenommen!");

    form->Set_Eingabe_Text(crlf({"x", "y", "z"}));
    form->SetzenClick();
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_EQ(messages.shown.at(1).title, "Fehler");
    EXPECT_EQ(messages.shown.at(1).text, "Achtung die Anzahl der Eingabe-Dateien stimmt nicht mit der der Ausgabedateien überein");

    form->Set_Eingabe_Text(crlf({"same", " same "}));
    messages.beeps = 0;
    messages.answerNext(ui::Answer::No);
    form->SetzenClick();
    ASSERT_EQ(messages.shown.size(), 3);
    EXPECT_EQ(messages.shown.at(2).title, "Doppelte Zeilen");
    EXPECT_EQ(messages.shown.at(2).buttons, ui::Buttons::YesNo);
    EXPECT_EQ(messages.beeps, 2);
    EXPECT_EQ(dir.entries(), QStringList({"a.mp3", "b.mp3"}));
}

TEST_F(RenameFlow, InvalidCharactersOpenTheCorrectionDialog)
{
    TempTree dir({"a.mp3", "b.mp3"});
    open(dir);
    form->Set_Eingabe_Text(crlf({"a", "a?b"}));
    form->SetzenClick();
    auto* fehler = form->findChild<FehlerDialog*>("Fehler");
    ASSERT_NE(fehler, nullptr);
    EXPECT_TRUE(fehler->isVisible());
    EXPECT_FALSE(fehler->isModal());
    EXPECT_EQ(fehler->windowTitle(), "Die Dateinamen enthalten ungültige Zeichen (\\/*?\"<>|). Dateien werden nicht umbenannt!");
    EXPECT_EQ(fehler->zeile1()->text(), "a?b");
    EXPECT_EQ(fehler->zeile2()->text(), "a?b");
    EXPECT_FALSE(fehler->setzenButton()->isEnabled());
    fehler->zeile2()->setText("A?B");
    EXPECT_FALSE(fehler->setzenButton()->isEnabled());
    fehler->zeile2()->setText("a_b");
    EXPECT_TRUE(fehler->setzenButton()->isEnabled());
    fehler->setzenButton()->click();
    EXPECT_EQ(dir.entries(), QStringList({"a.mp3", "a_b.mp3"}));
}

TEST_F(RenameFlow, CorrectionDialogChangesNothingWhenTheLineIsGone)
{
    TempTree dir({"a.mp3", "b.mp3"});
    open(dir);
    form->Set_Eingabe_Text(crlf({"xa?b", "a?b"}));
    form->SetzenClick();
    auto* fehler = form->findChild<FehlerDialog*>("Fehler");
    ASSERT_NE(fehler, nullptr);
    EXPECT_EQ(fehler->zeile1()->text(), "xa?b");
    form->Set_Eingabe_Text(crlf({"edited", "a?b"}));  // the user fixed line 1 by hand meanwhile
    fehler->zeile2()->setText("fixed");
    fehler->setzenButton()->click();
    EXPECT_EQ(form->Get_Eingabe_Text(), crlf({"edited", "a?b"}));
    ASSERT_FALSE(messages.shown.isEmpty());
    EXPECT_TRUE(messages.shown.last().text.contains("xa?b"));
    EXPECT_EQ(dir.entries(), QStringList({"a.mp3", "b.mp3"}));
}

TEST_F(RenameFlow, SwapsAndCaseOnlyChangesWork)
{
    TempTree dir;
    dir.add("a.txt", "A");
    dir.add("b.txt", "B");
    dir.add("c.mp3", "C");
    open(dir);
    form->Set_Eingabe_Text(crlf({"b", "a", "C"}));
    form->SetzenClick();
    EXPECT_EQ(dir.entries(), QStringList({"C.mp3", "a.txt", "b.txt"}));
    EXPECT_EQ(contentOf(dir, "a.txt"), "B");
    EXPECT_EQ(contentOf(dir, "b.txt"), "A");
    EXPECT_EQ(contentOf(dir, "C.mp3"), "C");
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(RenameFlow, RestoreAfterAReorderingRenameGivesEveryFileItsOwnName)
{
    TempTree dir;
    dir.add("a.txt", "A");
    dir.add("b.txt", "B");
    dir.add("c.txt", "C");
    open(dir);
    form->Set_Eingabe_Text(crlf({"z", "y", "x"}));
    form->SetzenClick();
    EXPECT_EQ(form->originalNames(), QStringList({"x.txt", "y.txt", "z.txt"}));
    EXPECT_EQ(form->recoverText(), crlf({"c", "b", "a"}));
    form->OrigNamen_Click();
    EXPECT_EQ(form->Get_Eingabe_Text(), crlf({"c", "b", "a"}));
    EXPECT_FALSE(child<QPushButton>("Setzen")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("OrigNamen")->isEnabled());
    EXPECT_FALSE(child<QAction>("MEnuOriginalHerstellen")->isEnabled());
    EXPECT_TRUE(form->isModified());
    form->SetzenClick();
    EXPECT_EQ(contentOf(dir, "a.txt"), "A");
    EXPECT_EQ(contentOf(dir, "b.txt"), "B");
    EXPECT_EQ(contentOf(dir, "c.txt"), "C");
}

TEST_F(RenameFlow, RestoreBringsBackAChangedExtension)
{
    TempTree dir({"song.mp3"});
    open(dir);
    form->Set_Eingabe_Text("tune.wav");
    form->SetzenClick();
    EXPECT_EQ(dir.entries(), QStringList({"tune.wav"}));
    form->OrigNamen_Click();
    form->Set_Eingabe_Text(form->Get_Eingabe_Text());  // any edit enables the rename again
    form->SetzenClick();
    EXPECT_EQ(dir.entries(), QStringList({"song.mp3"}));
}

TEST_F(RenameFlow, FailuresAreReportedAndDoNotStopTheOthers)
{
    TempTree dir({"a.txt", "b.txt", "c.txt", ".taken.txt"});
    dir.add(".taken.txt", "hidden content");
    open(dir);
    form->Set_Eingabe_Text(crlf({".taken", "   ", "d"}));
    form->SetzenClick();
    EXPECT_EQ(dir.entries(), QStringList({".taken.txt", "a.txt", "b.txt", "d.txt"}));
    EXPECT_EQ(contentOf(dir, ".taken.txt"), "hidden content");
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown.at(0).text.contains("a.txt"));
    EXPECT_TRUE(messages.shown.at(0).text.contains("1"));
    EXPECT_FALSE(messages.shown.at(0).text.contains("b.txt"));  // the blank line simply kept its name
}

TEST_F(RenameFlow, TypedTextAndSpecialCharactersReachTheRename)
{
    TempTree dir({"a.mp3", "b.mp3"});
    open(dir);
    auto* box = child<NameTextEdit>("Eingabe_Mit");
    box->setFocus();
    box->moveCursor(QTextCursor::End);
    QTest::keyClicks(box, "x");
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClicks(box, QString(QChar(0x00A0)));
    EXPECT_EQ(form->Get_Eingabe_Text(), QString("a\r\n") + QChar(0x00A0) + "bx");
    EXPECT_TRUE(child<QPushButton>("Setzen")->isEnabled());
    child<QPushButton>("Setzen")->click();
    EXPECT_EQ(dir.entries(), QStringList({"a.mp3", QString(QChar(0x00A0)) + "bx.mp3"}));
}

TEST_F(RenameFlow, SelectionOffsetsUseTheCrLfForm)
{
    TempTree dir({"a.mp3", "b.mp3", "c.mp3"});
    open(dir);
    auto* box = child<NameTextEdit>("Eingabe_Mit");
    box->setSelection(3, 1);  // "b" after "a" CR LF
    EXPECT_EQ(box->selectedText(), "b");
    EXPECT_EQ(box->selectionStart(), 3);
    box->setSelection(0, 4);
    EXPECT_EQ(box->selectedText(), "a\r\nb");
    EXPECT_EQ(box->selectionLength(), 4);
    // A selection is no request to delete: the rename leaves the text as it is.
    form->Set_Eingabe_Text(crlf({"a", "q", "c"}));
    box->setSelection(3, 1);
    form->SetzenClick();
    EXPECT_EQ(dir.entries(), QStringList({"a.mp3", "c.mp3", "q.mp3"}));
}

TEST_F(RenameFlow, DoubleClickCopiesANameAfterAsking)
{
    TempTree dir({"song.mp3"});
    open(dir);
    QAction* fewer = child<QAction>("ShowMessageBox");
    fewer->setChecked(false);
    auto* list = child<QListWidget>("Original");
    QApplication::clipboard()->setText("before");
    messages.answerNext(ui::Answer::No);
    Q_EMIT list->itemDoubleClicked(list->item(0));
    EXPECT_EQ(QApplication::clipboard()->text(), "before");
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown.at(0).title, "Dateinamen in die Zwischenablage?");
    EXPECT_EQ(messages.shown.at(0).text, "Dateinamen:\r\"song.mp3\"\r\r in die Zwischenablage kopieren?");
    Q_EMIT list->itemDoubleClicked(list->item(0));
    EXPECT_EQ(QApplication::clipboard()->text(), "song.mp3");
    fewer->setChecked(true);
    QApplication::clipboard()->setText("before");
    Q_EMIT list->itemDoubleClicked(list->item(0));
    EXPECT_EQ(QApplication::clipboard()->text(), "song.mp3");
    EXPECT_EQ(messages.shown.size(), 2);
}

TEST_F(RenameFlow, LockingHidesSetzenAndDisablesTheLongCommands)
{
    form->ElementeSperren(true);
    EXPECT_TRUE(child<QPushButton>("Setzen")->isHidden());
    for (const char* name : {"Nummerieren", "Nummern_Entf", "Abbruch", "Verzeichnis"})
        EXPECT_FALSE(child<QPushButton>(name)->isEnabled()) << name;
    form->ElementeSperren(false);
    EXPECT_FALSE(child<QPushButton>("Setzen")->isHidden());
    for (const char* name : {"Nummerieren", "Nummern_Entf", "Abbruch", "Verzeichnis"})
        EXPECT_TRUE(child<QPushButton>(name)->isEnabled()) << name;
}
