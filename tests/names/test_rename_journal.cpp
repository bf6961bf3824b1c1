// The rename journal: an interrupted rename is recovered from the disk as it is, a completed one can be undone.
#include "NamesTestKit.h"

#include "support/FileClock.h"

#include <QFile>
#include <QProcess>

#include <csignal>
#include <unistd.h>

using namespace namestest;

namespace {

constexpr int kEntries = 5000;

// 5000 files holding their own names: the first 2000 swap in pairs, the next 2000 get new names, the last
// 1000 change only their letter case; 8000 renames in all, 3000 of them to temporary names.
QStringList names(bool renamed)
{
    const auto name = [](char prefix, int n) { return QStringLiteral("%1%2.dat").arg(prefix).arg(n, 4, 10, QLatin1Char('0')); };
    QStringList list;
    for (int i = 0; i < kEntries; ++i)
        list.append(!renamed ? name('f', i) : i < 2000 ? name('f', i ^ 1) : i < 4000 ? name('n', i) : name('f', i).toUpper());
    return list;
}

// The child's orders, from its parent's environment.
constexpr char kChildDir[] = "QUILLET_JOURNAL_TEST_DIR";
constexpr char kChildFolder[] = "QUILLET_JOURNAL_TEST_FOLDER";
constexpr char kChildKillAfterRenames[] = "QUILLET_JOURNAL_TEST_KILL_RENAMES";
constexpr char kChildKillAfterSteps[] = "QUILLET_JOURNAL_TEST_KILL_STEPS";

// Runs in a child process only (started by the test below with the filter and the environment).
TEST(JournalChild, DISABLED_RenameUntilKilled)
{
    const DirectoryHandle dir(qEnvironmentVariable(kChildDir));
    ASSERT_TRUE(dir.isOpen());
    const bool bySteps = qEnvironmentVariableIsSet(kChildKillAfterSteps);
    int left = qEnvironmentVariableIntValue(bySteps ? kChildKillAfterSteps : kChildKillAfterRenames);
    const auto countDown = [&left] {
        if (left-- == 0)
            ::raise(SIGKILL);
    };
    HookedRenamer renamer(dir, [&](const QString&, const QString&) { return bySteps ? 0 : (countDown(), 0); },
                          bySteps ? DirRenamer::Strategy::WithoutFlag : DirRenamer::Strategy::Auto);
    if (bySteps)
        renamer.inner.setStepHook(countDown);
    RenameJournal journal(qEnvironmentVariable(kChildFolder), dir);
    executeRenames(planRenames(names(false), names(true)), renamer, {}, &journal);
}

TEST(KilledRename, IsRecoveredWithNothingLostAndNoTemporaryNameLeftAtSeveralPoints)
{
    const struct {
        const char* variable;
        int count;
        RecoveryChoice choice;
        bool moveDirectoryFirst = false;
    } points[] = {{kChildKillAfterRenames, 0, RecoveryChoice::Finish},
                  {kChildKillAfterRenames, 1, RecoveryChoice::Rollback},
                  {kChildKillAfterRenames, 1500, RecoveryChoice::Finish, true},
                  {kChildKillAfterRenames, 4000, RecoveryChoice::Rollback},
                  {kChildKillAfterRenames, 6500, RecoveryChoice::Finish},
                  {kChildKillAfterRenames, 7999, RecoveryChoice::Rollback},
                  // In the middle of a rename without the no-replace request: extra names to clear away.
                  {kChildKillAfterSteps, 3000, RecoveryChoice::Finish},
                  {kChildKillAfterSteps, 3001, RecoveryChoice::Rollback},
                  {kChildKillAfterSteps, 3002, RecoveryChoice::Finish}};
    for (const auto& point : points) {
        SCOPED_TRACE(testing::Message() << point.variable << " " << point.count);
        TempTree root({"music/"});
        for (const QString& name : names(false))
            root.add("music/" + name, name.toUtf8());
        const QString folder = root.file("journals");

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kChildDir, root.file("music"));
        env.insert(kChildFolder, folder);
        env.insert(point.variable, QString::number(point.count));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {"--gtest_also_run_disabled_tests", "--gtest_filter=JournalChild.DISABLED_RenameUntilKilled"});
        ASSERT_TRUE(child.waitForFinished(120000));
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << child.readAllStandardOutput().toStdString();

        QString path = root.file("music");
        if (point.moveDirectoryFirst) {  // the journal follows the directory, not its path
            path = root.file("music-moved");
            ASSERT_TRUE(QDir().rename(root.file("music"), path));
        }
        const DirectoryHandle dir(path);
        JournalFolder journals(folder);
        const std::optional<UnfinishedRename> pending = journals.findUnfinished(dir);
        ASSERT_TRUE(pending.has_value());
        EXPECT_EQ(pending->entryCount, kEntries);
        EXPECT_EQ(pending->directoryPath, root.file("music"));

        const RenameOutcome outcome = journals.recover(dir, point.choice);
        EXPECT_TRUE(outcome.failed.isEmpty()) << outcome.failed.size();
        QStringList expected;
        const QStringList originals = names(false);
        const QStringList targets = names(point.choice == RecoveryChoice::Finish);
        for (int i = 0; i < kEntries; ++i)
            expected.append(targets.at(i) + "=" + originals.at(i));
        expected.sort();
        EXPECT_EQ(withContentIn(path), expected);  // every file once, under the chosen name, and nothing else
        EXPECT_FALSE(journals.findUnfinished(dir).has_value());
        EXPECT_EQ(journals.hasLastRename(dir), point.choice == RecoveryChoice::Finish);
    }
}

using Journal = JournalTest;

TEST_F(Journal, AJournalThatCannotBeWrittenStopsTheRenameBeforeAnyEntry)
{
    dir.addOwnNames({"a.txt", "b.txt"});
    data.add("not-a-folder", "x");
    QStringList folders = {data.file("not-a-folder/journals")};
    if (::geteuid() != 0) {  // permissions do not stop the superuser
        data.add("readonly/");
        QFile::setPermissions(data.file("readonly"), QFile::ReadOwner | QFile::ExeOwner);
        folders.append(data.file("readonly"));
    }
    for (const QString& place : folders) {
        const RenameOutcome out = renameWithJournal({"a.txt", "b.txt"}, {"b", "c"}, {}, place);
        EXPECT_EQ(std::make_tuple(out.stopped, out.stopError != 0, out.renamed), std::make_tuple(RenameStop::JournalNotWritten, true, 0))
            << place.toStdString();
        EXPECT_EQ(dir.entries(), QStringList({"a.txt", "b.txt"}));
    }
    QFile::setPermissions(data.file("readonly"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(Journal, UndoAfterARestartPutsBackWhatIsStillTheRenamedEntry)
{
    const QStringList originals = {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"};
    dir.addOwnNames(originals);
    ASSERT_TRUE(renameWithJournal(originals, {"b", "a", "x", "y", ""}).failed.isEmpty());

    // Later another program replaces x.txt by a new file (which may get the freed inode number) and takes
    // y.txt away, later than the rename by the file clock too.
    testsupport::passFileClock();
    ASSERT_TRUE(QFile::remove(dir.file("x.txt")));
    dir.add("x.txt", "stranger");
    ASSERT_TRUE(QFile::rename(dir.file("y.txt"), dir.file("elsewhere.txt")));

    // A new start: nothing but the journal folder and the directory.
    const DirectoryHandle handle(dir.path());
    JournalFolder journals(folder);
    ASSERT_TRUE(journals.hasLastRename(handle));
    const RenameOutcome undo = journals.undoLastRename(handle);
    EXPECT_EQ(undo.renamed, 2);
    EXPECT_EQ(seen(undo.failed), QList<Seen>({{3, R::EntryReplaced}, {4, R::EntryRenamedElsewhere, "elsewhere.txt"}}));
    EXPECT_EQ(dir.withContent(), QStringList({"a.txt=a.txt", "b.txt=b.txt", "e.txt=e.txt", "elsewhere.txt=d.txt",
                                              "x.txt=stranger"}));
    // The undo itself is not offered for undo.
    EXPECT_FALSE(journals.hasLastRename(handle));
}

TEST_F(Journal, KeepsTheNewestJournalsAndEveryUnfinishedOne)
{
    dir.addOwnNames({"a", "keep"});
    RenameJournal(folder, DirectoryHandle(dir.path())).writePlan({{2, "keep", "", "z"}});  // never finished, as after a crash
    for (int i = 0; i < JournalFolder::kKeptJournals + 3; ++i)
        ASSERT_EQ(renameWithJournal({i % 2 ? "b" : "a"}, {i % 2 ? "a" : "b"}).renamed, 1);
    EXPECT_EQ(entriesIn(folder).size(), JournalFolder::kKeptJournals + 1);
    ASSERT_EQ(unfinished().value_or(UnfinishedRename{}).entryCount, 1);
    // Recovering it: the entry is found by its inode and given the planned name.
    EXPECT_TRUE(recover(RecoveryChoice::Finish).failed.isEmpty());
    EXPECT_EQ(dir.entries(), QStringList({"b", "z"}));
}

// The file system refuses every move away from a temporary name: reported, recorded and offered for recovery.
TEST_F(Journal, AnEntryStrandedUnderATemporaryNameIsOfferedForRecovery)
{
    dir.addOwnNames({"a", "b"});
    const RenameOutcome out = renameWithJournal({"a", "b"}, {"b", "a"}, [](const QString& from, const QString&) {
        return isTemporaryName(from) ? EBUSY : 0;
    });
    ASSERT_EQ(out.failed.size(), 2);
    EXPECT_EQ(std::make_pair(out.failed[0].reason, out.failed[0].errorCode), std::make_pair(R::LeftUnderTemporaryName, EBUSY));
    QStringList reported;
    for (const RenameProblem& p : out.failed)
        reported.append(p.currentName);
    reported.sort();
    EXPECT_EQ(reported, dir.entries());
    for (const QString& name : reported)
        EXPECT_TRUE(isTemporaryName(name)) << name.toStdString();

    ASSERT_TRUE(unfinished().has_value());
    EXPECT_TRUE(recover(RecoveryChoice::Rollback).failed.isEmpty());
    EXPECT_EQ(dir.withContent(), QStringList({"a=a", "b=b"}));
}

TEST_F(Journal, RecoveryNeverOverwritesAndLeavesNoTemporaryName)
{
    for (const RecoveryChoice choice : {RecoveryChoice::Finish, RecoveryChoice::Rollback}) {
        SCOPED_TRACE(int(choice));
        clear();
        dir.add("a.txt", "A");
        dir.add("b.txt", "B");
        // A swap interrupted after its first step; then another program takes the freed name.
        killAfterFirstStep({{1, "a.txt", temp(1), "b.txt"}, {2, "b.txt", temp(2), "a.txt"}});
        dir.add("a.txt", "stranger");
        const bool finish = choice == RecoveryChoice::Finish;
        const QString elsewhere = finish ? "b (1).txt" : "a (1).txt";
        QList<Seen> expectedProblems = {{1, R::KeptUnderOtherName, elsewhere}};
        if (finish)
            expectedProblems.append({2, R::TargetExists});  // b.txt cannot take the stranger's name
        EXPECT_EQ(seen(recover(choice).failed), expectedProblems);
        QStringList expected = {"a.txt=stranger", "b.txt=B", elsewhere + "=A"};
        expected.sort();
        EXPECT_EQ(dir.withContent(), expected);
        EXPECT_FALSE(unfinished().has_value());
    }
}

TEST_F(Journal, RecordsWhatHasTheNameNowWhenTheListedEntryWasReplaced)
{
    dir.add("a.txt", "A");
    dir.add("b.txt", "B");
    const DirectoryHandle listed(dir.path());
    const quint64 listedInode = listed.entryIdentity("a.txt").inode, bInode = listed.entryIdentity("b.txt").inode;
    // After the listing another program moves a.txt away and puts a new file under its name.
    ASSERT_TRUE(QFile::rename(dir.file("a.txt"), dir.file("moved.txt")));
    dir.add("a.txt", "stranger");
    killAfterFirstStep({{1, "a.txt", temp(1), "b.txt", listedInode}, {2, "b.txt", temp(2), "a.txt", bInode}});
    EXPECT_TRUE(recover(RecoveryChoice::Rollback).failed.isEmpty());
    EXPECT_EQ(dir.withContent(), QStringList({"a.txt=stranger", "b.txt=B", "moved.txt=A"}));
}

// A file system that numbers entries anew after a remount, or a program that saved over the entry.
TEST_F(Journal, AnEntryUnderItsTemporaryNameIsRecoveredWhateverItsInodeSays)
{
    dir.add("a.txt", "A");
    killAfterFirstStep({{1, "a.txt", temp(0xaa), "b.txt"}});
    const QString stranded = dir.file(temp(0xaa));  // the same data under the same name, but another inode
    ASSERT_TRUE(QFile::copy(stranded, stranded + ".new") && QFile::remove(stranded) && QFile::rename(stranded + ".new", stranded));
    EXPECT_TRUE(recover(RecoveryChoice::Finish).failed.isEmpty());
    EXPECT_EQ(dir.withContent(), QStringList({"b.txt=A"}));
}

}  // namespace
