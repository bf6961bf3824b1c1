// A journal acts only in the directory it was written for, never wedges one, and keeps its secrets.
#include "NamesTestKit.h"

#include "names/JournalFormat.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

using namespace namestest;

namespace {

// Writes a journal as a rename of `dir` would have, with its header changed by `edit`.
void writeJournal(const QString& folder, const DirectoryHandle& dir, const QList<JournalEntry>& entries,
                  const std::function<void(JournalHeader&)>& edit)
{
    JournalHeader header{JournalKind::Rename, dir.path(), dir.identity(), QDateTime::currentMSecsSinceEpoch() * 1000000};
    edit(header);
    QDir().mkpath(folder);
    QFile f(folder + "/000000000000001-00000000.journal");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(formatJournalPlan(header, entries));
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

using JournalTrust = JournalTest;

}  // namespace

TEST(JournalIdentity, TheBirthTimeDecidesAndItsAbsenceAsksForTheEntries)
{
    using B = JournalBelonging;
    const FileIdentity opened{7, 42, 1000};
    EXPECT_EQ(QList<B>({journalBelonging({7, 42, 1000}, opened), journalBelonging({7, 42, 999}, opened), journalBelonging({7, 42, 0}, opened),
                        journalBelonging({7, 42, 1000}, {7, 42, 0}), journalBelonging({7, 43, 1000}, opened), journalBelonging({8, 42, 1000}, opened)}),
              QList<B>({B::Yes, B::FolderGone, B::NeedsProof, B::NeedsProof, B::Elsewhere, B::Elsewhere}));

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
    dir.addOwnNames({"mine1.doc", "mine2.doc"});
    const DirectoryHandle handle(dir.path());
    // The worst case: its files even carry the inode numbers of the old directory's entries.
    const QList<JournalEntry> entries = {{1, "g1.txt", temp(1), "h1.txt", handle.entryIdentity("mine1.doc").inode},
                                         {2, "g2.txt", temp(2), "h2.txt", handle.entryIdentity("mine2.doc").inode}};
    for (const bool birthKnown : {false, true}) {
        SCOPED_TRACE(birthKnown);
        if (birthKnown && handle.identity().birth == 0)
            continue;  // this file system keeps no birth times
        writeJournal(folder, handle, entries, [&](JournalHeader& h) {
            h.directoryPath = "/old/";
            h.directory.birth = birthKnown ? handle.identity().birth - 1 : 0;
        });
        EXPECT_FALSE(JournalFolder(folder).findUnfinished(handle).has_value());
        EXPECT_EQ(JournalFolder(folder).recover(handle, RecoveryChoice::Finish).renamed, 0);
        EXPECT_EQ(dir.entries(), QStringList({"mine1.doc", "mine2.doc"}));
        EXPECT_TRUE(entriesIn(folder).last().endsWith(".set-aside"));
        QDir(folder).removeRecursively();
    }
}

// The same on a file system without birth times, where the new directory takes the old one's inode.
TEST(JournalTrustOnExt4, WithoutBirthTimesAStaleJournalLeavesTheNewDirectoryAlone)
{
    TempTree work({"mnt/"});
    const QString image = work.file("fs.img"), mount = work.file("mnt"), folder = work.file("journals");
    const QString mkfs = QStandardPaths::findExecutable("mkfs.ext4", {"/sbin", "/usr/sbin"});
    if (mkfs.isEmpty())
        GTEST_SKIP() << "mkfs.ext4 is not installed";
    ASSERT_TRUE(QFile(image).open(QIODevice::WriteOnly) && QFile::resize(image, 32 << 20));
    if (QProcess::execute(mkfs, {"-q", "-F", "-I", "128", image}) != 0
        || QProcess::execute("mount", {"-o", "loop", image, mount}) != 0)
        GTEST_SKIP() << "cannot make and mount a loop file system here (needs root and loop devices)";
    struct Unmount {
        QString path;
        ~Unmount() { QProcess::execute("umount", {path}); }
    } unmount{mount};

    const QString old = mount + "/old", other = mount + "/other";
    QDir().mkpath(old);
    for (int i = 0; i < 50; ++i)
        writeFile(old + QStringLiteral("/g%1.txt").arg(i, 5, 10, QLatin1Char('0')), {});
    quint64 oldInode = 0;
    {
        const DirectoryHandle handle(old);
        ASSERT_EQ(handle.identity().birth, 0) << "the file system should keep no birth times";
        oldInode = handle.identity().inode;
        QList<JournalEntry> entries;
        int line = 0;
        for (const QString& name : entriesIn(old))
            entries.append({++line, name, {}, "n" + name, handle.entryIdentity(name).inode});
        // Stopped after 20 renames, as by a kill: the journal is never finished.
        RenameJournal journal(folder, handle);
        ASSERT_EQ(journal.writePlan(entries), 0);
        for (int i = 0; i < 20; ++i)
            ASSERT_EQ(DirRenamer(handle).rename(entries[i].oldName, entries[i].newName), 0);
    }
    ASSERT_TRUE(QDir(old).removeRecursively());
    QDir().mkpath(other);
    for (const char* name : {"mine1.doc", "mine2.doc", "mine3.doc", "mine4.doc", "mine5.doc"})
        writeFile(other + "/" + name, {});
    const DirectoryHandle handle(other);
    if (handle.identity().inode != oldInode)
        GTEST_SKIP() << "the new directory did not take the old one's inode this time";
    JournalFolder journals(folder);
    EXPECT_FALSE(journals.findUnfinished(handle).has_value());
    EXPECT_EQ(journals.recover(handle, RecoveryChoice::Finish).renamed, 0);
    EXPECT_EQ(entriesIn(other), QStringList({"mine1.doc", "mine2.doc", "mine3.doc", "mine4.doc", "mine5.doc"}));
}

// Whatever was done to a journal, the readable entries are brought to an end and the directory is free again.
TEST(DamagedJournal, IsActedOnAsFarAsItReadsThenSetAsideWithTheTemporaryNamesListed)
{
    const std::pair<const char*, std::function<QByteArray(QByteArray)>> damages[] = {
        {"cut inside the plan", [](QByteArray j) { return j.left(j.indexOf("b\t" + temp(2).toUtf8()) + 3); }},
        {"a garbage line", [](QByteArray j) { return replaceLine(j, 7, "\x01garbage\xff"); }},
        {"a huge count", [](QByteArray j) { return replaceLine(j, 5, "entries\t100000000000"); }},
        {"a negative count", [](QByteArray j) { return replaceLine(j, 5, "entries\t-5"); }},
        {"a temporary name that is a path",
         [](QByteArray j) { return j.replace(temp(2).toUtf8(), "quillet-tmp-sub/../../victim.txt"); }}};
    for (const auto& [what, change] : damages) {
        SCOPED_TRACE(what);
        TempTree parent({"dir/"});
        parent.add("victim.txt", "V");
        parent.addOwnNames({"dir/a", "dir/b", "dir/c"});
        const QString folder = parent.file("journals");
        const QString dirPath = parent.file("dir");
        QString file;
        {
            const DirectoryHandle handle(dirPath);
            RenameJournal journal(folder, handle);
            ASSERT_EQ(journal.writePlan({{1, "a", temp(1), "b"}, {2, "b", temp(2), "a"}, {3, "c", "", "d"}}), 0);
            file = journal.filePath();
            // Interrupted after both entries of the swap went to their temporary names.
            ASSERT_EQ(DirRenamer(handle).rename(u"a", temp(1)), 0);
            ASSERT_EQ(DirRenamer(handle).rename(u"b", temp(2)), 0);
        }
        damage(file, change);

        const DirectoryHandle handle(dirPath);
        JournalFolder journals(folder);
        const std::optional<UnfinishedRename> pending = journals.findUnfinished(handle);
        ASSERT_TRUE(pending.has_value());
        EXPECT_TRUE(pending->damaged);
        const RenameOutcome out = journals.recover(handle, RecoveryChoice::Rollback);
        EXPECT_FALSE(out.journalSetAside.isEmpty());
        EXPECT_EQ(out.journalDirectory, dirPath);
        // Never asked again, nothing lost, nothing outside touched; what stays under a temporary name is listed.
        EXPECT_FALSE(journals.findUnfinished(handle).has_value() || journals.hasLastRename(handle));
        QStringList contents, stray, listed;
        for (const QString& entry : withContentIn(dirPath)) {
            contents.append(entry.section('=', 1));
            if (isTemporaryName(entry.section('=', 0, 0)))
                stray.append(entry.section('=', 0, 0));
        }
        contents.sort();
        EXPECT_EQ(contents, QStringList({"dir/a", "dir/b", "dir/c"}));
        EXPECT_EQ(parent.read("victim.txt"), "V");
        for (const RenameProblem& p : out.failed)
            if (p.reason == RenameReason::StrayTemporaryName)
                listed.append(p.currentName);
        listed.sort();
        EXPECT_EQ(listed, stray);
    }
}

TEST_F(JournalTrust, ARenameThatMovedNothingIsNoLastRenameAndJournalsAreTheOwnersOnly)
{
    dir.addOwnNames({"a", "b"});
    const RenameOutcome out = renameWithJournal({"a", "b"}, {"c", "d"}, [](const QString&, const QString&) { return EROFS; });
    EXPECT_EQ(out.failed.size(), 2);
    EXPECT_FALSE(hasLastRename() || unfinished().has_value());
    EXPECT_TRUE(entriesIn(folder).isEmpty());

    // Journals are readable by their owner only, and one that does not read offers no undo.
    ASSERT_EQ(renameWithJournal({"a"}, {"c"}).renamed, 1);
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
        | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ(QFileInfo(folder).permissions() & others, 0);
    EXPECT_EQ(QFileInfo(lastJournal).permissions() & (others | QFileDevice::ExeOwner | QFileDevice::ExeUser), 0);
    ASSERT_TRUE(hasLastRename());
    damage(lastJournal, [](QByteArray j) { return replaceLine(j, 5, "entries\t100000000000"); });
    EXPECT_FALSE(hasLastRename());
}

// Another program takes both names of a swapped entry while it waits under its temporary name.
TEST_F(JournalTrust, ARenameThatWasNotKilledLeavesNoTemporaryName)
{
    dir.addOwnNames({"a.txt", "b.txt"});
    const RenameOutcome out = renameWithJournal({"a.txt", "b.txt"}, {"b.txt", "a.txt"}, [&](const QString& from, const QString&) {
        if (isTemporaryName(from))
            for (const char* name : {"a.txt", "b.txt"})
                if (!QFileInfo::exists(dir.file(name)))
                    dir.add(name, "stranger");
        return 0;
    });
    EXPECT_EQ(seen(out.failed), QList<Seen>({{1, R::KeptUnderOtherName, "a (1).txt"}, {2, R::KeptUnderOtherName, "b (1).txt"}}));
    EXPECT_EQ(dir.withContent(), QStringList({"a (1).txt=a.txt", "a.txt=stranger", "b (1).txt=b.txt", "b.txt=stranger"}));
    EXPECT_FALSE(unfinished().has_value());
}
