// A journal acts only in the directory it was written for, never wedges one, and keeps its secrets.
#include "names/DirectoryHandle.h"
#include "names/JournalFormat.h"
#include "names/RenameJournal.h"
#include "names/RenamePlan.h"
#include "names/SafeRename.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <functional>

using namespace names;
using testsupport::TempTree;

namespace {

QString temp(int n)
{
    return QStringLiteral("quillet-tmp-%1").arg(n, 16, 16, QLatin1Char('0'));
}

// Writes a journal as a rename of `dir` would have, with `header` changed by `edit`.
QString writeJournal(const QString& folder, const DirectoryHandle& dir, const QList<JournalEntry>& entries,
                     const std::function<void(JournalHeader&)>& edit = {})
{
    JournalHeader header;
    header.directoryPath = dir.path();
    header.directory = dir.identity();
    header.started = QDateTime::currentMSecsSinceEpoch() * 1000000;
    if (edit)
        edit(header);
    QDir().mkpath(folder);
    const QString file = folder + "/000000000000001-00000000.journal";
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(formatJournalPlan(header, entries));
    return file;
}

// Renames "a" in `dir` to "b" with a journal in `folder`; the journal's file.
QString renameAToB(const TempTree& dir, const QString& folder)
{
    const DirectoryHandle handle(dir.path());
    DirRenamer renamer(handle);
    RenameJournal journal(folder, handle);
    EXPECT_EQ(executeRenames(planRenames({"a"}, QStringList({"b"})), renamer, {}, &journal).renamed, 1);
    return journal.filePath();
}

QStringList journalFolderEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QByteArray replaceLine(QByteArray text, int index, const QByteArray& line)
{
    QList<QByteArray> lines = text.split('\n');
    lines[index] = line;
    return lines.join('\n');
}

// Rewrites `file` with what `change` makes of its content.
void damage(const QString& file, const std::function<QByteArray(QByteArray)>& change)
{
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const QByteArray changed = change(f.readAll());
    ASSERT_TRUE(f.resize(0) && f.seek(0));
    f.write(changed);
}

// A journal folder of the test's own and a directory to rename.
class JournalTrust : public ::testing::Test {
protected:
    TempTree dir;
    TempTree data;
    const QString folder = data.file("journals");
};

}  // namespace

TEST(JournalIdentity, TheBirthTimeDecidesAndItsAbsenceAsksForTheEntries)
{
    const FileIdentity opened{7, 42, 1000};
    EXPECT_EQ(journalBelonging({7, 42, 1000}, opened), JournalBelonging::Yes);
    EXPECT_EQ(journalBelonging({7, 42, 999}, opened), JournalBelonging::FolderGone);
    EXPECT_EQ(journalBelonging({7, 42, 0}, opened), JournalBelonging::NeedsProof);
    EXPECT_EQ(journalBelonging({7, 42, 1000}, {7, 42, 0}), JournalBelonging::NeedsProof);
    EXPECT_EQ(journalBelonging({7, 43, 1000}, opened), JournalBelonging::Elsewhere);
    EXPECT_EQ(journalBelonging({8, 42, 1000}, opened), JournalBelonging::Elsewhere);

    // Entries count as found by inode under one of their own names, and only when born before the rename.
    const QList<JournalEntry> entries = {{1, "a", temp(1), "b", 11}, {2, "c", "", "d", 12}, {3, "e", "", "f", 13}};
    QHash<QString, FileIdentity> disk;
    auto lookUp = [&](const QString& name) { return disk.value(name); };
    EXPECT_FALSE(entriesFoundInDirectory(entries, 500, 7, lookUp));
    disk = {{"mine1.doc", {7, 11, 0}}, {"mine2.doc", {7, 12, 0}}, {"a", {7, 99, 0}}};  // strangers
    EXPECT_FALSE(entriesFoundInDirectory(entries, 500, 7, lookUp));
    disk = {{temp(1), {7, 11, 0}}, {"c", {7, 12, 0}}};
    EXPECT_TRUE(entriesFoundInDirectory(entries, 500, 7, lookUp));
    disk = {{temp(1), {7, 11, 900}}, {"c", {7, 12, 900}}};  // born after the rename began
    EXPECT_FALSE(entriesFoundInDirectory(entries, 500, 7, lookUp));
}

// A directory that took the inode of one whose rename was interrupted: the old journal must not touch it.
TEST_F(JournalTrust, AJournalOfAGoneDirectoryIsNeitherOfferedNorActedOnAndIsSetAside)
{
    for (const char* name : {"mine1.doc", "mine2.doc", "mine3.doc"})
        dir.add(name, name);
    const DirectoryHandle handle(dir.path());
    // The worst case: its files even carry the inode numbers of the old directory's entries.
    QList<JournalEntry> entries;
    for (int i = 0; i < 3; ++i)
        entries.append({i + 1, QStringLiteral("g%1.txt").arg(i), temp(i + 1), QStringLiteral("h%1.txt").arg(i),
                        handle.entryIdentity(QStringLiteral("mine%1.doc").arg(i + 1)).inode});
    for (const bool birthKnown : {false, true}) {
        SCOPED_TRACE(birthKnown);
        if (birthKnown && handle.identity().birth == 0)
            continue;  // this file system keeps no birth times
        writeJournal(folder, handle, entries, [&](JournalHeader& h) {
            h.directoryPath = "/old/";
            h.directory.birth = birthKnown ? handle.identity().birth - 1 : 0;
        });
        JournalFolder journals(folder);
        EXPECT_FALSE(journals.findUnfinished(handle).has_value());
        EXPECT_EQ(journals.recover(handle, RecoveryChoice::Finish).renamed, 0);
        EXPECT_EQ(dir.entries(), QStringList({"mine1.doc", "mine2.doc", "mine3.doc"}));
        EXPECT_TRUE(journalFolderEntries(folder).last().endsWith(".set-aside"));
        QDir(folder).removeRecursively();
    }
}

// Whatever was done to a journal, the readable entries are brought to an end and the directory is free again.
struct Damage {
    const char* what;
    std::function<QByteArray(QByteArray)> apply;
};

TEST(JournalTrustOnExt4, WithoutBirthTimesAStaleJournalLeavesTheNewDirectoryAlone)
{
    TempTree work;
    const QString image = work.file("fs.img");
    const QString mount = work.file("mnt");
    QDir().mkpath(mount);
    auto run = [](const QString& program, const QStringList& args) {
        QProcess p;
        p.start(program, args);
        return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    };
    if (QStandardPaths::findExecutable("mkfs.ext4", {"/sbin", "/usr/sbin"}).isEmpty())
        GTEST_SKIP() << "mkfs.ext4 is not installed";
    QFile img(image);
    ASSERT_TRUE(img.open(QIODevice::WriteOnly) && img.resize(32 << 20));
    img.close();
    if (!run(QStandardPaths::findExecutable("mkfs.ext4", {"/sbin", "/usr/sbin"}), {"-q", "-F", "-I", "128", image})
        || !run("mount", {"-o", "loop", image, mount}))
        GTEST_SKIP() << "cannot make and mount a loop file system here (needs root and loop devices)";
    struct Unmount {
        QString path;
        ~Unmount() { QProcess::execute("umount", {path}); }
    } unmount{mount};

    const QString old = mount + "/old";
    QDir().mkpath(old);
    for (int i = 0; i < 50; ++i) {
        QFile f(old + QStringLiteral("/g%1.txt").arg(i, 5, 10, QLatin1Char('0')));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString folder = work.file("journals");
    QStringList originals = QDir(old).entryList(QDir::Files, QDir::Name);
    QStringList lines;
    for (const QString& name : originals)
        lines.append("n" + name);
    quint64 oldInode = 0;
    {
        const DirectoryHandle handle(old);
        ASSERT_EQ(handle.identity().birth, 0) << "the file system should keep no birth times";
        oldInode = handle.identity().inode;
        struct Stopping final : Renamer {
            DirRenamer inner;
            int left = 20;
            explicit Stopping(const DirectoryHandle& d) : inner(d) {}
            int rename(const QString& from, const QString& to) override { return left-- > 0 ? inner.rename(from, to) : EIO; }
        } renamer(handle);
        RenameJournal journal(folder, handle);
        RenamePlan plan = planRenames(originals, lines);
        for (PlannedRename& m : plan.moves)
            m.inode = handle.entryIdentity(m.from).inode;
        // Stopped, as by a kill, with the journal open: make it look interrupted by not finishing.
        ASSERT_EQ(journal.writePlan([&] {
                      QList<JournalEntry> e;
                      for (const PlannedRename& m : plan.moves)
                          e.append({m.line, m.from, {}, m.to, m.inode});
                      return e;
                  }()),
                  0);
        for (int i = 0; i < 20; ++i)
            ASSERT_EQ(renamer.rename(plan.moves.at(i).from, plan.moves.at(i).to), 0);
    }
    ASSERT_TRUE(QDir(old).removeRecursively());
    const QString other = mount + "/other";
    QDir().mkpath(other);
    for (int i = 1; i <= 5; ++i) {
        QFile f(other + QStringLiteral("/mine%1.doc").arg(i));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const DirectoryHandle handle(other);
    if (handle.identity().inode != oldInode)
        GTEST_SKIP() << "the new directory did not take the old one's inode this time";
    JournalFolder journals(folder);
    EXPECT_FALSE(journals.findUnfinished(handle).has_value());
    EXPECT_EQ(journals.recover(handle, RecoveryChoice::Finish).renamed, 0);
    EXPECT_EQ(QDir(other).entryList(QDir::Files, QDir::Name),
              QStringList({"mine1.doc", "mine2.doc", "mine3.doc", "mine4.doc", "mine5.doc"}));
}

class DamagedJournal : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedJournal, IsActedOnAsFarAsItReadsThenSetAsideWithTheTemporaryNamesListed)
{
    TempTree parent({"dir/"});
    parent.add("victim.txt", "V");
    for (const char* name : {"dir/a.txt", "dir/b.txt", "dir/c.txt"})
        parent.add(name, QByteArray(name).mid(4, 1));
    TempTree data;
    const QString folder = data.file("journals");
    const QString dirPath = parent.file("dir");
    QString file;
    {
        const DirectoryHandle handle(dirPath);
        RenameJournal journal(folder, handle);
        ASSERT_EQ(journal.writePlan({{1, "a.txt", temp(1), "b.txt"}, {2, "b.txt", temp(2), "a.txt"},
                                     {3, "c.txt", "", "d.txt"}}),
                  0);
        file = journal.filePath();
        // Interrupted after both entries of the swap went to their temporary names.
        ASSERT_EQ(DirRenamer(handle).rename("a.txt", temp(1)), 0);
        ASSERT_EQ(DirRenamer(handle).rename("b.txt", temp(2)), 0);
    }
    damage(file, GetParam().apply);

    const DirectoryHandle handle(dirPath);
    JournalFolder journals(folder);
    const std::optional<UnfinishedRename> pending = journals.findUnfinished(handle);
    ASSERT_TRUE(pending.has_value());
    EXPECT_TRUE(pending->damaged);
    const RenameOutcome out = journals.recover(handle, RecoveryChoice::Rollback);
    EXPECT_FALSE(out.journalSetAside.isEmpty());
    EXPECT_EQ(out.journalDirectory, dirPath);
    EXPECT_FALSE(journals.findUnfinished(handle).has_value());  // never asked again
    EXPECT_FALSE(journals.hasLastRename(handle));
    // Nothing lost, nothing outside touched; what stays under a temporary name is listed.
    QStringList contents;
    QStringList stray;
    for (const QString& name : QDir(dirPath).entryList(QDir::Files)) {
        QFile entry(dirPath + "/" + name);
        EXPECT_TRUE(entry.open(QIODevice::ReadOnly));
        contents.append(QString::fromUtf8(entry.readAll()));
        if (isTemporaryName(name))
            stray.append(name);
    }
    contents.sort();
    EXPECT_EQ(contents, QStringList({"a", "b", "c"}));
    EXPECT_EQ(parent.read("victim.txt"), "V");
    QStringList listed;
    for (const RenameProblem& p : out.failed)
        if (p.reason == RenameReason::StrayTemporaryName)
            listed.append(p.currentName);
    stray.sort();
    EXPECT_EQ(listed, stray);
}

INSTANTIATE_TEST_SUITE_P(
    EveryWay, DamagedJournal,
    ::testing::Values(
        Damage{"cut inside the plan", [](QByteArray j) { return j.left(j.indexOf("b.txt\t" + temp(2).toUtf8()) + 3); }},
        Damage{"a garbage line", [](QByteArray j) { return replaceLine(j, 7, "\x01garbage\xff"); }},
        Damage{"a huge count", [](QByteArray j) { return replaceLine(j, 5, "entries\t100000000000"); }},
        Damage{"a negative count", [](QByteArray j) { return replaceLine(j, 5, "entries\t-5"); }},
        Damage{"a temporary name that is a path",
               [](QByteArray j) { return j.replace(temp(2).toUtf8(), "quillet-tmp-sub/../../victim.txt"); }}),
    [](const ::testing::TestParamInfo<Damage>& damage) {
        return QString::fromLatin1(damage.param.what).replace(' ', '_').toStdString();
    });

TEST_F(JournalTrust, AFinishedJournalThatDoesNotReadOffersNoUndo)
{
    dir.add("a");
    damage(renameAToB(dir, folder), [](QByteArray j) { return replaceLine(j, 5, "entries\t100000000000"); });
    EXPECT_FALSE(JournalFolder(folder).hasLastRename(DirectoryHandle(dir.path())));
}

TEST_F(JournalTrust, ARenameThatMovedNothingIsNoLastRename)
{
    struct ReadOnly final : Renamer {
        int rename(const QString&, const QString&) override { return EROFS; }
    } renamer;
    dir.add("a");
    dir.add("b");
    const DirectoryHandle handle(dir.path());
    RenameJournal journal(folder, handle);
    const RenameOutcome out = executeRenames(planRenames({"a", "b"}, QStringList({"c", "d"})), renamer, {}, &journal);
    EXPECT_EQ(out.failed.size(), 2);
    JournalFolder journals(folder);
    EXPECT_FALSE(journals.hasLastRename(handle));
    EXPECT_FALSE(journals.findUnfinished(handle).has_value());
    EXPECT_TRUE(journalFolderEntries(folder).isEmpty());
}

// Another program takes both names of a swapped entry while it waits under its temporary name.
TEST_F(JournalTrust, ARenameThatWasNotKilledLeavesNoTemporaryName)
{
    struct Racing final : Renamer {
        DirRenamer inner;
        const TempTree& dir;
        Racing(const DirectoryHandle& h, const TempTree& d) : inner(h), dir(d) {}
        int rename(const QString& from, const QString& to) override
        {
            if (isTemporaryName(from))
                for (const char* name : {"a.txt", "b.txt"})
                    if (!QFileInfo::exists(dir.file(name)))
                        const_cast<TempTree&>(dir).add(name, "stranger");
            return inner.rename(from, to);
        }
    };
    dir.add("a.txt", "A");
    dir.add("b.txt", "B");
    const DirectoryHandle handle(dir.path());
    Racing renamer(handle, dir);
    RenameJournal journal(folder, handle);
    const RenameOutcome out =
        executeRenames(planRenames({"a.txt", "b.txt"}, QStringList({"b.txt", "a.txt"})), renamer, {}, &journal);
    ASSERT_EQ(out.failed.size(), 2);
    EXPECT_EQ(out.failed[0].reason, RenameReason::KeptUnderOtherName);
    EXPECT_EQ(out.failed[0].currentName, "a (1).txt");
    EXPECT_EQ(out.failed[1].currentName, "b (1).txt");
    EXPECT_EQ(dir.withContent(), QStringList({"a (1).txt=A", "a.txt=stranger", "b (1).txt=B", "b.txt=stranger"}));
    EXPECT_FALSE(JournalFolder(folder).findUnfinished(handle).has_value());
}

TEST_F(JournalTrust, JournalsAreReadableByTheirOwnerOnly)
{
    dir.add("a");
    const QString file = renameAToB(dir, folder);
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
        | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ(QFileInfo(folder).permissions() & others, 0);
    EXPECT_EQ(QFileInfo(file).permissions() & (others | QFileDevice::ExeOwner | QFileDevice::ExeUser), 0);
}
