#pragma once
// What the rename and journal tests share: a renamer that lets the test act before each rename, and a
// directory with a journal folder beside it.
#include "names/DirectoryHandle.h"
#include "names/RenameJournal.h"
#include "names/RenamePlan.h"
#include "names/SafeRename.h"

#include "support/TestSupport.h"

#include <functional>

namespace namestest {

using namespace names;
using namespace testsupport;

inline QString temp(int n) { return QStringLiteral("quillet-tmp-%1").arg(n, 16, 16, QLatin1Char('0')); }

// Runs before a rename reaches the disk; a non-zero result fails the rename with that error.
using RenameHook = std::function<int(const QString& from, const QString& to)>;

// The real renamer behind a hook.
struct HookedRenamer final : Renamer {
    DirRenamer inner;
    RenameHook before;
    template <class Dir>
    explicit HookedRenamer(const Dir& dir, RenameHook hook = {}, DirRenamer::Strategy way = DirRenamer::Strategy::Auto)
        : inner(dir, way), before(std::move(hook)) {}
    int rename(QStringView from, QStringView to) override
    {
        const int err = before ? before(from.toString(), to.toString()) : 0;
        return err ? err : inner.rename(from, to);
    }
};

// A problem as the tests compare it: its line, its reason, the name the entry has now, the line in its way.
struct Seen {
    int line;
    RenameReason reason;
    QString now = {};
    int other = 0;
    bool operator==(const Seen&) const = default;
};
inline void PrintTo(const Seen& s, std::ostream* os)
{
    *os << "line " << s.line << " reason " << int(s.reason) << " now \"" << s.now.toStdString() << "\" other " << s.other;
}
inline QList<Seen> seen(const QList<RenameProblem>& problems)
{
    QList<Seen> list;
    for (const RenameProblem& p : problems)
        list.append({p.line, p.reason, p.currentName, p.otherLine});
    return list;
}
using R = RenameReason;

class JournalTest : public ::testing::Test {
protected:
    RenameOutcome renameWithJournal(const QStringList& originals, const QStringList& lines, RenameHook hook = {},
                                    const QString& journalFolder = {})
    {
        const DirectoryHandle handle(dir.path());
        HookedRenamer renamer(handle, std::move(hook));
        RenameJournal journal(journalFolder.isEmpty() ? folder : journalFolder, handle);
        const RenameOutcome out = executeRenames(planRenames(originals, lines), renamer, {}, &journal);
        lastJournal = journal.filePath();
        return out;
    }
    // Writes `plan` to a journal and moves its first entry to its temporary name, as a rename does first.
    void killAfterFirstStep(const QList<JournalEntry>& plan)
    {
        const DirectoryHandle handle(dir.path());
        RenameJournal journal(folder, handle);
        ASSERT_EQ(journal.writePlan(plan), 0);
        ASSERT_EQ(DirRenamer(handle).rename(plan[0].oldName, plan[0].tempName), 0);
    }
    void clear()  // an empty directory and no journal
    {
        for (const QString& name : dir.entries())
            QFile::remove(dir.file(name));
        QDir(folder).removeRecursively();
    }
    RenameOutcome recover(RecoveryChoice choice) { return JournalFolder(folder).recover(DirectoryHandle(dir.path()), choice); }
    std::optional<UnfinishedRename> unfinished() const { return JournalFolder(folder).findUnfinished(DirectoryHandle(dir.path())); }
    bool hasLastRename() const { return JournalFolder(folder).hasLastRename(DirectoryHandle(dir.path())); }

    TempTree dir;
    TempTree data;
    const QString folder = data.file(QStringLiteral("journals"));
    QString lastJournal;
};

}  // namespace namestest
