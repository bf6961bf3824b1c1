// Text mode, text files, the update and the homepage as the main window runs them, through its real widgets.
#include "EnvVar.h"
#include "LoopbackServer.h"
#include "OrdinaryUser.h"
#include "RecordingUpdater.h"
#include "WindowTest.h"
#include "textmode/FileDialogAnswer.h"
#include "UrlCatcher.h"

#include <QDesktopServices>
#include <QUrl>

using namespace testsupport;

namespace {

class TextModeWindow : public FilesWindowTest {
protected:
    void SetUp() override
    {
        FilesWindowTest::SetUp();
        form->show();
        open(dir);
    }
    NameTextEdit* box(const char* name) const { return child<NameTextEdit>(name); }
    bool textMode() const { return child<QPushButton>("Command6")->text() == "Verz.-Modus"; }
    // The controls of either mode that are shown, the name box in use and the lower toolbar's title.
    QString shown() const
    {
        QStringList names;
        for (const char* name : {"Original", "Label1", "Label2", "OrigNamen", "Setzen", "Verzeichnis", "Command7", "Command8",
                                 "Eingabe_Mit", "Eingabe_Ohne"})
            if (child<QWidget>(name)->isVisible())
                names << QString::fromLatin1(name);
        return names.join(u' ') + " / " + form->nameBox()->objectName() + " / " + child<QGroupBox>("ControlsFrame")->title();
    }
    const QString kTextMode = "Command7 Command8 Eingabe_Ohne / Eingabe_Ohne / Text-Modus";

    TempTree dir{{"a.mp3", "b.mp3", "c.mp3"}};
};

TEST_F(TextModeWindow, ToggleWithoutEditsShowsTheTextModeControlsAndKeepsTheText)
{
    const int directoryWidth = box("Eingabe_Mit")->width();
    click("Command6");
    EXPECT_EQ(text() + shown(), crlf({"a", "b", "c"}) + kTextMode);
    EXPECT_GT(box("Eingabe_Ohne")->width(), directoryWidth);  // the text takes the list's room

    click("Command6");
    EXPECT_EQ(text() + shown(), crlf({"a", "b", "c"}) + "Original Label1 Label2 OrigNamen Setzen Verzeichnis Eingabe_Mit / Eingabe_Mit / ");
    EXPECT_EQ(box("Eingabe_Mit")->width(), directoryWidth);
    // Carrying the text back is a change of the name text like any other.
    EXPECT_TRUE(form->isModified() && form->recoverText() == crlf({"a", "b", "c"}));
}

TEST_F(TextModeWindow, EditsOfBothModesSurviveTheRoundTripAndEitherRenameApplies)
{
    editEveryLine("1");
    click("Command6");
    EXPECT_EQ(text(), crlf({"1a", "1b", "1c"}));
    editEveryLine("2");
    EXPECT_EQ(box("Eingabe_Mit")->text(), crlf({"1a", "1b", "1c"}));  // until text mode ends
    click("Command6");
    EXPECT_EQ(box("Eingabe_Mit")->text(), crlf({"21a", "21b", "21c"}));
    click("Setzen");
    EXPECT_EQ(dir.entries(), (QStringList{"21a.mp3", "21b.mp3", "21c.mp3"}));
    EXPECT_EQ(text(), crlf({"21a", "21b", "21c"}));

    // The menu's rename in text mode keeps text mode and its text.
    click("Command6");
    editEveryLine("x");
    child<QAction>("MenuNamenSetzen")->trigger();
    EXPECT_EQ(dir.entries(), (QStringList{"x21a.mp3", "x21b.mp3", "x21c.mp3"}));
    EXPECT_EQ(shown(), kTextMode);
    EXPECT_TRUE(text() == crlf({"x21a", "x21b", "x21c"}) && !form->isModified());
    click("Command6");  // the rescanned names come back, not the text from before the scan
    EXPECT_EQ(text(), crlf({"x21a", "x21b", "x21c"}));
}

TEST_F(TextModeWindow, NoSwitchWhileACommandHoldsTheButtons)
{
    // A numbering run lets events in; its result must land in the box it read.
    form->ElementeSperren(true);
    for (const char* name : {"Nummerieren", "Nummern_Entf", "Abbruch", "Verzeichnis"})
        EXPECT_FALSE(child<QPushButton>(name)->isEnabled()) << name;
    EXPECT_TRUE(child<QPushButton>("Setzen")->isHidden());
    click("Command6");
    EXPECT_TRUE(!textMode() && form->nameBox() == box("Eingabe_Mit"));
    form->ElementeSperren(false);
    click("Command6");
    EXPECT_TRUE(textMode() && !child<QPushButton>("Setzen")->isVisible());
}

class TextFilesWindow : public TextModeWindow {
protected:
    void SetUp() override
    {
        TextModeWindow::SetUp();
        form->lastFolder().set(files.path());
    }
    TempTree files{{"old.txt"}};
};

TEST_F(TextFilesWindow, SaveInTextModeWritesTheShownTextThenWaitsForTheNextEdit)
{
    click("Command6");
    editEveryLine("neu ");
    answerFileDialog("list.txt");
    click("Command7");
    EXPECT_EQ(fileDialogCaption + files.read("list.txt"), "Datei Speichernneu a\r\nneu b\r\nneu c\r\n");
    EXPECT_FALSE(child<QPushButton>("Command7")->isEnabled());

    answerFileDialog(QString());  // the proposed "NoName.txt"
    child<QAction>("MenDateiSpeichern")->trigger();
    EXPECT_EQ(files.read("NoName.txt"), QByteArray("neu a\r\nneu b\r\nneu c\r\n"));
    editEveryLine("!");
    EXPECT_TRUE(child<QPushButton>("Command7")->isEnabled());
}

TEST_F(TextFilesWindow, OpenReplacesTheNameTextInEitherModeAndCancelKeepsIt)
{
    files.add("drei.txt", "eins\r\nzwei\ndrei");
    answerFileDialog("drei.txt");
    child<QAction>("MenDateiÖffnen")->trigger();
    EXPECT_EQ(fileDialogCaption, "Text-Datei auswählen");
    EXPECT_TRUE(text() == crlf({"eins", "zwei", "drei"}) && box("Eingabe_Ohne")->text() == text()) << text().toStdString();
    EXPECT_TRUE(child<QPushButton>("Setzen")->isEnabled());  // three lines against three names

    click("Command6");
    files.add("zwei.txt", "x\r\ny\r\n");
    answerFileDialog("zwei.txt");
    click("Command8");
    EXPECT_EQ(text() + shown(), crlf({"x", "y"}) + kTextMode);

    answerFileDialog("zwei.txt", "Abbruch");
    files.add("zwei.txt", "anders");
    click("Command8");
    EXPECT_EQ(text(), crlf({"x", "y"}));
    click("Command6");
    EXPECT_EQ(text(), crlf({"x", "y"}));
}

class WebLinksWindow : public TextModeWindow {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.isListening());
        TextModeWindow::SetUp();
        form->setUpdateTarget(program.path(), "quillet");
    }
    LoopbackServer server;
    EnvVar webBase{"QUILLET_WEB_BASE", server.base().toUtf8()};
    TempTree program;
};

// The menu's update fails (the server has no updater yet) and the program goes on; the link's update fetches
// the updater and ends the program, whose window then closes without storing anything.
TEST_F(WebLinksWindow, UpdateFromTheMenuAndTheLink)
{
    OrdinaryUser user{{program.path()}};
    child<QAction>("Download")->trigger();
    EXPECT_EQ(messenger.shown.value(1).text + QString::number(messenger.ends), "Update.exe\r\rDownload Failed! 0");
    server.serve("/Downloads/Tesk-Updater.exe", {200, kRecordingUpdater});
    QTest::mouseClick(child<QLabel>("Label3"), Qt::LeftButton);
    EXPECT_EQ(recordedUpdaterArguments(program).value(1) + QString::number(messenger.ends), "[PATH]quillet1");
    form->close();
    EXPECT_EQ(setting("Frame", "Visible") + setting("ControlsFrame", "Visible") + setting("Form1\\Pos\\", "Left"), "");
}

TEST_F(WebLinksWindow, HomepageFromTheMenuAndTheLink)
{
    qputenv("QUILLET_WEB_BASE", "https://maker.test");
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("https", &catcher, "open");
    child<QAction>("Guestbook")->trigger();
    auto* link = child<QLabel>("Label4");
    QTest::mouseClick(link, Qt::LeftButton);
    QTest::mouseClick(link, Qt::RightButton);
    // Tab reaches the link; Space and Enter open it.
    EXPECT_TRUE(link->focusPolicy() & Qt::TabFocus);
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_A})
        QTest::keyClick(link, key);
    QDesktopServices::unsetUrlHandler("https");
    const QUrl homepage("https://maker.test/Downloads/Tools/Quillet");
    EXPECT_TRUE(catcher.opened == QList<QUrl>(4, homepage) && messenger.shown.isEmpty()) << catcher.opened.size();
}

}  // namespace

