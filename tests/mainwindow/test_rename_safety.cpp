// The main window keeps a rename on the entries the user saw, journals it, recovers an interrupted one and
// undoes the last one after a restart.
#include "FileClock.h"
#include "WindowTest.h"
#include "names/DirectoryHandle.h"
#include "names/RenameJournal.h"
#include "names/SafeRename.h"

#include <QFile>

using namespace testsupport;

namespace {

class RenameSafety : public FilesWindowTest {
protected:
    QAction* undoItem() const { return child<QAction>("MenLetzteUmbenennungRueckgaengig"); }
    bool restoreEnabled() const
    {
        return child<QPushButton>("OrigNamen")->isEnabled() && child<QAction>("MEnuOriginalHerstellen")->isEnabled();
    }

    // Leaves the journal of a swap of a.txt and b.txt (holding "a" and "b") that was killed after its first
    // step: a.txt is under its temporary name, b.txt untouched.
    QString leaveInterruptedSwap(TempTree& dir)
    {
        dir.add("a.txt", "a");
        dir.add("b.txt", "b");
        const names::DirectoryHandle handle(dir.path());
        const QString temp = names::randomTemporaryName();
        names::RenameJournal journal(journalFolder(), handle);
        EXPECT_EQ(journal.writePlan({{1, "a.txt", temp, "b.txt"}, {2, "b.txt", names::randomTemporaryName(), "a.txt"}}), 0);
        EXPECT_TRUE(QFile::rename(dir.file("a.txt"), dir.file(temp)));
        return temp;
    }
};

}  // namespace

TEST_F(RenameSafety, ADirectoryPutInPlaceOfTheScannedOneIsNotRenamed)
{
    TempTree parent({"music/", "other/", "music/01.mp3", "music/02.mp3", "other/01.mp3", "other/02.mp3"});
    TempTree elsewhere;
    const QString music = parent.file("music");
    form->set_Startpfad(music);
    form->InitializeMe();
    editEveryLine("new ");

    // Moved away, and another directory put at its path (a link in its place: test_safe_rename.cpp).
    ASSERT_TRUE(QFile::rename(music, elsewhere.file("music")));
    ASSERT_TRUE(QFile::rename(parent.file("other"), music));
    form->SetzenClick();

    ASSERT_EQ(messenger.shown.size(), 1);
    const ShownMessage& shown = messenger.shown[0];
    EXPECT_TRUE(shown.text.startsWith("Unter „" + QDir::toNativeSeparators(music)) && shown.text.contains("Es wurde nichts umbenannt")
                && shown.icon == ui::Icon::Stop)
        << shown.text.toStdString();
    for (const QString& both : {music, elsewhere.file("music")})
        EXPECT_EQ(QDir(both).entryList(QDir::Files), QStringList({"01.mp3", "02.mp3"}));
    // The edits stay for another try.
    EXPECT_EQ(text(), crlf({"new 01", "new 02"}));
}

TEST_F(RenameSafety, RestoreAfterARename)
{
    // A name whose display name is blank, and a stranger that takes a renamed name afterwards.
    TempTree dir;
    TempTree away;
    for (const char* name : {" .mp3", "b.mp3", "holiday.jpg"})
        dir.add(name, name);
    open(dir);
    form->Set_Eingabe_Text(crlf({"x", "", "IMG_1"}));
    form->SetzenClick();
    ASSERT_TRUE(messenger.shown.isEmpty());
    EXPECT_EQ(dir.entries(), QStringList({"IMG_1.jpg", "b.mp3", "x.mp3"}));
    EXPECT_EQ(form->recoverText(), crlf({"b", "holiday", " .mp3"}));
    // The names from before are one click away, without an edit first.
    EXPECT_TRUE(restoreEnabled());

    ASSERT_TRUE(QFile::rename(dir.file("IMG_1.jpg"), away.file("IMG_1.jpg")));
    dir.add("IMG_1.jpg", "stranger");
    child<QPushButton>("OrigNamen")->click();
    form->SetzenClick();
    EXPECT_EQ(dir.withContent(), QStringList({" .mp3= .mp3", "IMG_1.jpg=stranger", "b.mp3=b.mp3"}));
    ASSERT_EQ(messenger.shown.size(), 1);
    EXPECT_EQ(messenger.shown[0].title + messenger.detailsOf.value(0),
              "Nicht alle Namen wurden gesetztZeile 2: „IMG_1.jpg“ → „holiday.jpg“: unter diesem Namen steht inzwischen ein anderer Eintrag");
}

// A rename whose one line is refused renames nothing to restore or undo; nor does one whose journal cannot be
// written, which keeps the edits.
TEST_F(RenameSafety, NothingRenamedWhenTheOnlyLineIsRefusedOrTheJournalCannotBeWritten)
{
    TempTree dir({"a.mp3", "b.mp3"});
    open(dir);
    form->Set_Eingabe_Text(crlf({".hidden", "b"}));
    form->SetzenClick();
    EXPECT_EQ(dir.entries(), QStringList({"a.mp3", "b.mp3"}));
    EXPECT_FALSE(restoreEnabled() || undoItem()->isEnabled());

    TempTree data({"file"});
    form->setJournalFolder(data.file("file/journals"));  // under a plain file: never a folder
    messenger.shown.clear();
    form->Set_Eingabe_Text(crlf({"xa", "xb"}));
    form->SetzenClick();
    EXPECT_EQ(dir.entries(), QStringList({"a.mp3", "b.mp3"}));
    EXPECT_TRUE(messenger.shown.value(0).text.startsWith("Das Protokoll der Umbenennung konnte nicht gespeichert werden")
                && messenger.shown.value(0).icon == ui::Icon::Stop);
    EXPECT_EQ(text(), crlf({"xa", "xb"}));
}

TEST_F(RenameSafety, AnInterruptedRenameIsAskedAboutFirst)
{
    TempTree dir;
    const QString temp = leaveInterruptedSwap(dir);

    // Cancel leaves everything and asks again at the next opening.
    messenger.answerNext(ui::Answer::Cancel);
    open(dir);
    ASSERT_EQ(messenger.shown.size(), 1);
    EXPECT_TRUE(messenger.shown[0].title == "Unterbrochene Umbenennung" && messenger.shown[0].buttons == ui::Buttons::YesNoCancel
                && messenger.shown[0].text.contains("2 Einträge sind betroffen"));
    EXPECT_EQ(listed(), QStringList({"b.txt", temp}));

    // A new rename there asks the same question first and, left for later again, renames nothing.
    form->Set_Eingabe_Text(crlf({"c", "d"}));
    messenger.answerNext(ui::Answer::Cancel);
    form->SetzenClick();
    EXPECT_TRUE(messenger.shown.value(1).title == "Unterbrochene Umbenennung" && dir.entries() == QStringList({"b.txt", temp}));

    messenger.answerNext(ui::Answer::No);
    newForm();
    open(dir);
    EXPECT_EQ(dir.withContent(), QStringList({"a.txt=a", "b.txt=b"}));
    EXPECT_TRUE(messenger.shown.size() == 3 && listed() == dir.entries() && !undoItem()->isEnabled());
    open(dir);
    EXPECT_EQ(messenger.shown.size(), 3);  // settled: not asked again
}

TEST_F(RenameSafety, FinishingAnInterruptedRenameMakesItTheLastRename)
{
    TempTree dir;
    leaveInterruptedSwap(dir);
    messenger.answerNext(ui::Answer::Yes);
    open(dir);
    EXPECT_TRUE(messenger.shown.size() == 1 && listed() == dir.entries());
    EXPECT_EQ(dir.withContent(), QStringList({"a.txt=b", "b.txt=a"}));
    ASSERT_TRUE(undoItem()->isEnabled());
    undoItem()->trigger();
    EXPECT_TRUE(dir.withContent() == QStringList({"a.txt=a", "b.txt=b"}) && messenger.shown.size() == 1);
}

TEST_F(RenameSafety, TheLastRenameIsUndoneAfterARestartOnceTheEditsMayGo)
{
    TempTree dir;
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        dir.add(name, name);
    open(dir);
    EXPECT_FALSE(undoItem()->isEnabled());
    form->Set_Eingabe_Text(crlf({"b", "a", "z"}));
    form->SetzenClick();
    EXPECT_TRUE(undoItem()->isEnabled());

    // Another program replaces one renamed entry meanwhile.
    passFileClock();
    ASSERT_TRUE(QFile::remove(dir.file("z.txt")));
    dir.add("z.txt", "stranger");

    newForm();
    open(dir);
    form->Set_Eingabe_Text("edited");
    messenger.answerNext(ui::Answer::No);
    undoItem()->trigger();
    EXPECT_EQ(dir.entries(), QStringList({"a.txt", "b.txt", "z.txt"}));
    EXPECT_EQ(text() + messenger.shown.value(0).title, "editedÄnderungen verwerfen?");
    undoItem()->trigger();  // asked again, and yes
    EXPECT_EQ(dir.withContent(), QStringList({"a.txt=a.txt", "b.txt=b.txt", "z.txt=stranger"}));
    EXPECT_EQ(listed(), dir.entries());
    ASSERT_EQ(messenger.shown.size(), 3);
    EXPECT_EQ(messenger.shown[2].title + messenger.detailsOf.value(2),
              "Letzte Umbenennung rückgängig machenZeile 3: „z.txt“ → „c.txt“: unter diesem Namen steht inzwischen ein anderer Eintrag");
    EXPECT_FALSE(undoItem()->isEnabled());
}
