// The rename journal: an interrupted rename is recovered from the disk as it is, a completed one can be undone.
#include "names/DirectoryHandle.h"
#include "names/RenameJournal.h"
#include "names/RenamePlan.h"
#include "names/SafeRename.h"

#include "support/FileClock.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <csignal>
#include <unistd.h>

using namespace names;
using testsupport::TempTree;

namespace {

constexpr int kEntries = 5000;

// 5000 files holding their own names: the first 2000 swap in pairs, the next 2000 get new names, the last
// 1000 change only their letter case; 8000 renames in all, 3000 of them to temporary names.
QStringList originalNames()
{
    QStringList names;
    for (int i = 0; i < kEntries; ++i)
        names.append(QStringLiteral("f%1.dat").arg(i, 4, 10, QLatin1Char('0')));
    return names;
}

QStringList newNames()
{
    const QStringList originals = originalNames();
    QStringList lines;
    for (int i = 0; i < kEntries; ++i) {
        if (i < 2000)
            lines.append(originals.at(i ^ 1));
        else if (i < 4000)
            lines.append(QStringLiteral("n%1.dat").arg(i, 4, 10, QLatin1Char('0')));
        else
            lines.append(originals.at(i).toUpper());
    }
    return lines;
}

// The child's orders, from its parent's environment.
constexpr char kChildDir[] = "QUILLET_JOURNAL_TEST_DIR";
constexpr char kChildFolder[] = "QUILLET_JOURNAL_TEST_FOLDER";
constexpr char kChildKillAfterRenames[] = "QUILLET_JOURNAL_TEST_KILL_RENAMES";
constexpr char kChildKillAfterSteps[] = "QUILLET_JOURNAL_TEST_KILL_STEPS";

struct KillingRenamer final : Renamer {
    DirRenamer& inner;
    int renamesLeft;
    KillingRenamer(DirRenamer& disk, int renames) : inner(disk), renamesLeft(renames) {}
    int rename(const QString& from, const QString& to) override
    {
        if (renamesLeft-- == 0)
            ::raise(SIGKILL);
        return inner.rename(from, to);
    }
};

// Runs in a child process only (started by the test below with the filter and the environment).
TEST(JournalChild, DISABLED_RenameUntilKilled)
{
    const DirectoryHandle dir(qEnvironmentVariable(kChildDir));
    ASSERT_TRUE(dir.isOpen());
    const bool bySteps = qEnvironmentVariableIsSet(kChildKillAfterSteps);
    DirRenamer disk(dir, bySteps ? DirRenamer::Strategy::WithoutFlag : DirRenamer::Strategy::Auto);
    int stepsLeft = qEnvironmentVariableIntValue(kChildKillAfterSteps);
    if (bySteps)
        disk.setStepHook([&] {
            if (stepsLeft-- == 0)
                ::raise(SIGKILL);
        });
    KillingRenamer renamer(disk, bySteps ? -1 : qEnvironmentVariableIntValue(kChildKillAfterRenames));
    RenameJournal journal(qEnvironmentVariable(kChildFolder), dir);
    executeRenames(planRenames(originalNames(), newNames()), renamer, {}, &journal);
}

struct KillPoint {
    const char* variable;
    int count;
    RecoveryChoice choice;
    bool moveDirectoryFirst = false;
};

class KilledRename : public ::testing::TestWithParam<KillPoint> {};

TEST_P(KilledRename, IsRecoveredWithNothingLostAndNoTemporaryNameLeft)
{
    const KillPoint point = GetParam();
    TempTree root;
    root.add("music/");
    for (const QString& name : originalNames())
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
    const QStringList originals = originalNames();
    const QStringList targets = point.choice == RecoveryChoice::Finish ? newNames() : originals;
    for (int i = 0; i < kEntries; ++i)
        expected.append(targets.at(i) + "=" + originals.at(i));
    expected.sort();
    QStringList actual;
    for (const QString& name : QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        QFile f(path + "/" + name);
        actual.append(name + "=" + (f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString()));
    }
    actual.sort();
    EXPECT_EQ(actual, expected);  // every file once, under the chosen name, and nothing else
    EXPECT_FALSE(journals.findUnfinished(dir).has_value());
    EXPECT_EQ(journals.hasLastRename(dir), point.choice == RecoveryChoice::Finish);
}

INSTANTIATE_TEST_SUITE_P(
    AtSeveralPoints, KilledRename,
    ::testing::Values(KillPoint{kChildKillAfterRenames, 0, RecoveryChoice::Finish},
                      KillPoint{kChildKillAfterRenames, 1, RecoveryChoice::Rollback},
                      KillPoint{kChildKillAfterRenames, 1500, RecoveryChoice::Finish, true},
                      KillPoint{kChildKillAfterRenames, 4000, RecoveryChoice::Rollback},
                      KillPoint{kChildKillAfterRenames, 6500, RecoveryChoice::Finish},
                      KillPoint{kChildKillAfterRenames, 7999, RecoveryChoice::Rollback},
                      // In the middle of a rename without the no-replace request: extra names to clear away.
                      KillPoint{kChildKillAfterSteps, 3000, RecoveryChoice::Finish},
                      KillPoint{kChildKillAfterSteps, 3001, RecoveryChoice::Rollback},
                      KillPoint{kChildKillAfterSteps, 3002, RecoveryChoice::Finish}));

// A directory and a journal folder beside it.
class Journal : public ::testing::Test {
protected:
    // Writes `plan` to a journal and moves its first entry to its temporary name, as a rename does first.
    void killAfterFirstStep(const QList<JournalEntry>& plan)
    {
        const DirectoryHandle handle(dir.path());
        RenameJournal journal(folder, handle);
        ASSERT_EQ(journal.writePlan(plan), 0);
        ASSERT_EQ(DirRenamer(handle).rename(plan[0].oldName, plan[0].tempName), 0);
    }
    RenameOutcome recover(RecoveryChoice choice) { return JournalFolder(folder).recover(DirectoryHandle(dir.path()), choice); }

    TempTree dir;
    TempTree data;
    const QString folder = data.file("journals");
};

// A small directory renamed with a journal in `folder`.
RenameOutcome renameWithJournal(const QString& path, const QString& folder, const QStringList& originals,
                                const QStringList& lines)
{
    const DirectoryHandle dir(path);
    DirRenamer renamer(dir);
    RenameJournal journal(folder, dir);
    return executeRenames(planRenames(originals, lines), renamer, {}, &journal);
}

TEST_F(Journal, AJournalThatCannotBeWrittenStopsTheRenameBeforeAnyEntry)
{
    dir.add("a.txt");
    dir.add("b.txt");
    data.add("not-a-folder", "x");
    QStringList folders = {data.file("not-a-folder/journals")};
    if (::geteuid() != 0) {  // permissions do not stop the superuser
        data.add("readonly/");
        QFile::setPermissions(data.file("readonly"), QFile::ReadOwner | QFile::ExeOwner);
        folders.append(data.file("readonly"));
    }
    for (const QString& place : folders) {
        const RenameOutcome out = renameWithJournal(dir.path(), place, {"a.txt", "b.txt"}, {"b", "c"});
        EXPECT_EQ(out.stopped, RenameStop::JournalNotWritten) << place.toStdString();
        EXPECT_NE(out.stopError, 0);
        EXPECT_EQ(out.renamed, 0);
        EXPECT_EQ(dir.entries(), QStringList({"a.txt", "b.txt"}));
    }
    QFile::setPermissions(data.file("readonly"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(Journal, UndoAfterARestartPutsBackWhatIsStillTheRenamedEntry)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"})
        dir.add(name, name);
    const RenameOutcome first = renameWithJournal(dir.path(), folder, {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"},
                                                  {"b", "a", "x", "y", ""});
    ASSERT_TRUE(first.failed.isEmpty());

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
    EXPECT_FALSE(journals.findUnfinished(handle).has_value());
    const RenameOutcome undo = journals.undoLastRename(handle);
    EXPECT_EQ(undo.renamed, 2);
    ASSERT_EQ(undo.failed.size(), 2);
    EXPECT_EQ(undo.failed[0].line, 3);
    EXPECT_EQ(undo.failed[0].reason, RenameReason::EntryReplaced);
    EXPECT_EQ(undo.failed[1].line, 4);
    EXPECT_EQ(undo.failed[1].reason, RenameReason::EntryRenamedElsewhere);  // still there, under another name
    EXPECT_EQ(undo.failed[1].currentName, "elsewhere.txt");
    EXPECT_EQ(dir.withContent(), QStringList({"a.txt=a.txt", "b.txt=b.txt", "e.txt=e.txt", "elsewhere.txt=d.txt",
                                              "x.txt=stranger"}));
    EXPECT_EQ(undo.previousNames().value("a.txt"), "b.txt");
    // The undo itself is not offered for undo.
    EXPECT_FALSE(journals.hasLastRename(handle));
}

TEST_F(Journal, KeepsTheNewestJournalsAndEveryUnfinishedOne)
{
    dir.add("a");
    dir.add("keep");
    {
        const DirectoryHandle handle(dir.path());
        RenameJournal interrupted(folder, handle);
        ASSERT_EQ(interrupted.writePlan({{2, "keep", "", "z"}}), 0);  // never finished: as after a crash
    }
    for (int i = 0; i < JournalFolder::kKeptJournals + 3; ++i) {
        const bool even = i % 2 == 0;
        ASSERT_EQ(renameWithJournal(dir.path(), folder, {even ? "a" : "b"}, {even ? "b" : "a"}).renamed, 1);
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), JournalFolder::kKeptJournals + 1);
    const DirectoryHandle handle(dir.path());
    const auto pending = JournalFolder(folder).findUnfinished(handle);
    ASSERT_TRUE(pending.has_value());
    EXPECT_EQ(pending->entryCount, 1);
    // Recovering it: the entry is found by its inode and given the planned name.
    const RenameOutcome out = JournalFolder(folder).recover(handle, RecoveryChoice::Finish);
    EXPECT_TRUE(out.failed.isEmpty());
    EXPECT_EQ(dir.entries(), QStringList({"b", "z"}));
}

TEST_F(Journal, AnEntryStrandedUnderATemporaryNameIsOfferedForRecovery)
{
    // The file system refuses every move away from a temporary name.
    struct StuckRenamer final : Renamer {
        DirRenamer inner;
        explicit StuckRenamer(const DirectoryHandle& dir) : inner(dir) {}
        int rename(const QString& from, const QString& to) override
        {
            return isTemporaryName(from) ? EBUSY : inner.rename(from, to);
        }
    };
    dir.add("a", "A");
    dir.add("b", "B");
    const DirectoryHandle handle(dir.path());
    StuckRenamer renamer(handle);
    RenameJournal journal(folder, handle);
    const RenameOutcome out = executeRenames(planRenames({"a", "b"}, QStringList({"b", "a"})), renamer, {}, &journal);
    ASSERT_EQ(out.failed.size(), 2);
    EXPECT_EQ(out.failed[0].reason, RenameReason::LeftUnderTemporaryName);

    JournalFolder journals(folder);
    ASSERT_TRUE(journals.findUnfinished(handle).has_value());
    EXPECT_TRUE(journals.recover(handle, RecoveryChoice::Rollback).failed.isEmpty());
    EXPECT_EQ(dir.withContent(), QStringList({"a=A", "b=B"}));
}

TEST_F(Journal, RecoveryNeverOverwritesAndLeavesNoTemporaryName)
{
    for (const RecoveryChoice choice : {RecoveryChoice::Finish, RecoveryChoice::Rollback}) {
        SCOPED_TRACE(int(choice));
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        QDir(folder).removeRecursively();
        dir.add("a.txt", "A");
        dir.add("b.txt", "B");
        // A swap interrupted after its first step; then another program takes the freed name.
        killAfterFirstStep({{1, "a.txt", "quillet-tmp-0000000000000001", "b.txt"}, {2, "b.txt", "quillet-tmp-0000000000000002", "a.txt"}});
        dir.add("a.txt", "stranger");
        const RenameOutcome out = recover(choice);
        ASSERT_EQ(out.failed.size(), choice == RecoveryChoice::Finish ? 2 : 1);
        EXPECT_EQ(out.failed[0].line, 1);
        EXPECT_EQ(out.failed[0].reason, RenameReason::KeptUnderOtherName);
        const QString elsewhere = choice == RecoveryChoice::Finish ? "b (1).txt" : "a (1).txt";
        EXPECT_EQ(out.failed[0].currentName, elsewhere);
        if (choice == RecoveryChoice::Finish) {
            EXPECT_EQ(out.failed[1].reason, RenameReason::TargetExists);  // b.txt cannot take the stranger's name
        }
        QStringList expected = {"a.txt=stranger", "b.txt=B", elsewhere + "=A"};
        expected.sort();
        EXPECT_EQ(dir.withContent(), expected);
        EXPECT_FALSE(JournalFolder(folder).findUnfinished(DirectoryHandle(dir.path())).has_value());
    }
}

TEST_F(Journal, RecordsWhatHasTheNameNowWhenTheListedEntryWasReplaced)
{
    dir.add("a.txt", "A");
    dir.add("b.txt", "B");
    const DirectoryHandle listed(dir.path());
    const quint64 listedInode = listed.entryIdentity("a.txt").inode;
    const quint64 bInode = listed.entryIdentity("b.txt").inode;
    // After the listing another program moves a.txt away and puts a new file under its name.
    ASSERT_TRUE(QFile::rename(dir.file("a.txt"), dir.file("moved.txt")));
    dir.add("a.txt", "stranger");
    killAfterFirstStep({{1, "a.txt", "quillet-tmp-0000000000000001", "b.txt", listedInode},
                        {2, "b.txt", "quillet-tmp-0000000000000002", "a.txt", bInode}});
    EXPECT_TRUE(recover(RecoveryChoice::Rollback).failed.isEmpty());
    EXPECT_EQ(dir.withContent(), QStringList({"a.txt=stranger", "b.txt=B", "moved.txt=A"}));
}

// An entry left under its temporary name whose inode no longer matches the journal (a file system that
// numbers entries anew after a remount; a program that saved over it) is still brought to its name.
TEST_F(Journal, AnEntryUnderItsTemporaryNameIsRecoveredWhateverItsInodeSays)
{
    dir.add("a.txt", "A");
    killAfterFirstStep({{1, "a.txt", "quillet-tmp-00000000000000aa", "b.txt"}});
    // The same data under the same name, but another inode.
    const QString temp = dir.file("quillet-tmp-00000000000000aa");
    ASSERT_TRUE(QFile::copy(temp, temp + ".new"));
    ASSERT_TRUE(QFile::remove(temp));
    ASSERT_TRUE(QFile::rename(temp + ".new", temp));
    EXPECT_TRUE(recover(RecoveryChoice::Finish).failed.isEmpty());
    EXPECT_EQ(dir.withContent(), QStringList({"b.txt=A"}));
}

}  // namespace
