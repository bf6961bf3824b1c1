// Ending an interrupted rename, and undoing a completed one, from its journal and the disk as it is now.
#include "names/RenameJournal.h"

#include "names/DirectoryScan.h"
#include "names/AsciiNames.h"
#include "names/DirectoryWalk.h"
#include "names/JournalStore.h"
#include "names/SafeRename.h"

#include <QHash>

#include <algorithm>
#include <cerrno>

namespace names {

namespace {

// Whether `id` is the entry the journal recorded: the same inode, and not born after the rename began
// (a file system may give a freed inode number to the next new file at once).
bool isEntry(const FileIdentity& id, const DirectoryHandle& dir, const JournalEntry& e, qint64 started)
{
    return id.device == dir.identity().device && id.inode == e.inode && e.inode != 0
        && (id.birth == 0 || id.birth <= started);
}

// A name under which a rename of this program can have left the entry: its own three, or one of the
// names the engine takes on its way (which no other program makes).
bool isOwnName(const JournalEntry& e, const QString& name)
{
    return name == e.oldName || name == e.newName || name == e.tempName || isTemporaryName(name);
}

// Every entry of the directory: its name and inode.
QList<std::pair<QString, quint64>> listing(const DirectoryHandle& dir)
{
    QList<std::pair<QString, quint64>> entries;
    DirectoryWalk walk(dir);
    while (const std::optional<DirectoryWalk::Entry> e = walk.next())
        entries.append({decodedName(e->name), e->inode});
    return entries;
}

// For each entry of the journal, the names that lead to it now.
QList<QStringList> whereEntriesAre(const DirectoryHandle& dir, const ParsedJournal& j)
{
    QHash<quint64, qsizetype> entryOfInode;
    entryOfInode.reserve(j.entries.size());
    for (qsizetype i = 0; i < j.entries.size(); ++i)
        if (j.entries.at(i).inode != 0)
            entryOfInode.insert(j.entries.at(i).inode, i);
    QList<QStringList> where(j.entries.size());
    for (const auto& [name, inode] : listing(dir)) {
        const auto it = entryOfInode.constFind(inode);
        if (it == entryOfInode.cend())
            continue;
        const JournalEntry& e = j.entries.at(it.value());
        if (isOwnName(e, name) && isEntry(dir.entryIdentity(name), dir, e, j.header.started))
            where[it.value()].append(name);
    }
    // Where the file system numbers its entries anew (FAT after a remount, say) or a program saved over the
    // entry while it had its temporary name, the inode leads nowhere; the entry is then found under that
    // name, which no other program can have made.
    for (qsizetype i = 0; i < j.entries.size(); ++i) {
        const JournalEntry& e = j.entries.at(i);
        if (where.at(i).isEmpty() && e.inode != 0 && !e.tempName.isEmpty() && dir.entryIdentity(e.tempName).isValid())
            where[i].append(e.tempName);
    }
    return where;
}

// After a damaged journal: every temporary name still in the directory, for the user to see.
QList<RenameProblem> strayTemporaryNames(const DirectoryHandle& dir)
{
    QList<RenameProblem> stray;
    for (const auto& entry : listing(dir))
        if (isTemporaryName(entry.first))
            stray.append({0, {}, {}, RenameReason::StrayTemporaryName, 0, 0, entry.first});
    std::sort(stray.begin(), stray.end(),
              [](const RenameProblem& a, const RenameProblem& b) { return a.currentName < b.currentName; });
    return stray;
}

// The whole journal that a look-up found by its head; where the file no longer reads, nothing to act on.
std::optional<ParsedJournal> readForAction(const journalstore::Found& found)
{
    std::optional<ParsedJournal> j = journalstore::readWhole(found.file);
    if (!j) {
        j = found.head;
        j->entries.clear();
        j->damaged = true;
    }
    return j;
}

void sortByLine(QList<RenameProblem>& problems)
{
    std::stable_sort(problems.begin(), problems.end(),
                     [](const RenameProblem& a, const RenameProblem& b) { return a.line < b.line; });
}

// A damaged journal has done what it could: out of the way with it, and say what remains.
void setAsideDamaged(const QString& file, const ParsedJournal& j, const DirectoryHandle& dir, RenameOutcome& outcome)
{
    outcome.journalSetAside = journalstore::setAside(file);
    outcome.journalDirectory = j.header.directoryPath;
    outcome.failed += strayTemporaryNames(dir);
}

}  // namespace

RenameOutcome JournalFolder::recover(const DirectoryHandle& dir, RecoveryChoice choice)
{
    RenameOutcome outcome;
    const auto found =
        journalstore::newestOf(m_folder, dir, JournalEnd::Open);
    if (!found)
        return outcome;
    const std::optional<ParsedJournal> j = readForAction(*found);
    const QList<JournalEntry>& entries = j->entries;
    const bool finish = choice == RecoveryChoice::Finish;
    auto wanted = [&](const JournalEntry& e) -> const QString& { return finish ? e.newName : e.oldName; };
    auto other = [&](const JournalEntry& e) -> const QString& { return finish ? e.oldName : e.newName; };

    DirRenamer renamer(dir);
    QList<RenameProblem> problems;
    RenamePlan plan;
    QList<QStringList> where = whereEntriesAre(dir, *j);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const JournalEntry& e = entries.at(i);
        QStringList& names = where[i];
        if (e.inode == 0)
            continue;  // missing before the rename began: nothing was done to it
        if (names.isEmpty()) {
            problems.append({e.line, e.oldName, wanted(e), RenameReason::EntryMissing});
            continue;
        }
        // An interrupted rename without the no-replace request may have left the entry under more than one
        // name; keep the wanted one, or else one of ours, and remove the others while they are extra names.
        QString keep = names.contains(wanted(e)) ? wanted(e) : names.first();
        for (const QString& n : std::as_const(names))
            if (n != keep)
                renamer.removeExtraName(n, {dir.identity().device, e.inode, 0});
        if (keep != wanted(e))
            plan.moves.append({e.line, plan.keep(keep), plan.keep(wanted(e))});
    }
    const RenameOutcome moved = executeRenames(plan, renamer);

    // An entry that could not get the wanted name must not stay under a temporary one.
    where = whereEntriesAre(dir, *j);
    bool temporaryLeft = false;
    QHash<int, RenameProblem> movedElsewhere;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const JournalEntry& e = entries.at(i);
        const QStringList& names = where.at(i);
        if (names.contains(wanted(e))) {
            ++outcome.renamed;
            continue;
        }
        if (names.isEmpty() || !isTemporaryName(names.first()))
            continue;
        const QString temp = names.first();
        QStringList candidates = {other(e)};
        for (int k = 1; k <= kNumberedNameAttempts; ++k)
            candidates.append(numberedName(wanted(e), k));
        bool placed = false;
        for (const QString& candidate : std::as_const(candidates)) {
            if (isListableName(candidate) && renamer.rename(temp, candidate) == 0) {
                movedElsewhere.insert(e.line, {e.line, e.oldName, wanted(e), RenameReason::KeptUnderOtherName, 0, 0,
                                               candidate});
                placed = true;
                break;
            }
        }
        if (!placed) {
            temporaryLeft = true;
            movedElsewhere.insert(e.line, {e.line, e.oldName, wanted(e), RenameReason::LeftUnderTemporaryName, EEXIST,
                                           0, temp});
        }
    }
    for (const RenameProblem& p : moved.failed)
        if (!movedElsewhere.contains(p.line))
            problems.append(p);
    for (const RenameProblem& p : std::as_const(movedElsewhere))
        problems.append(p);
    sortByLine(problems);
    outcome.failed = problems;
    if (j->damaged)
        setAsideDamaged(found->file, *j, dir, outcome);
    else if (!temporaryLeft)  // asked again next time while an entry could be placed nowhere but there
        journalstore::appendEnd(found->file, finish ? JournalEnd::Finished : JournalEnd::RolledBack);
    return outcome;
}

RenameOutcome JournalFolder::undoLastRename(const DirectoryHandle& dir)
{
    RenameOutcome outcome;
    const auto last = journalstore::newestOf(m_folder, dir, JournalEnd::Finished, [](const ParsedJournal& j) {
        return j.header.kind == JournalKind::Rename;
    });
    if (!last)
        return outcome;
    const std::optional<ParsedJournal> j = readForAction(*last);

    RenamePlan plan;
    QList<qsizetype> gone;  // entries not under their new name: looked for by inode in one listing
    for (qsizetype i = 0; i < j->entries.size(); ++i) {
        const JournalEntry& e = j->entries.at(i);
        if (e.inode == 0 || isEntry(dir.entryIdentity(e.oldName), dir, e, j->header.started))
            continue;  // never renamed, or already back
        const FileIdentity now = dir.entryIdentity(e.newName);
        if (!now.isValid())
            gone.append(i);
        else if (!isEntry(now, dir, e, j->header.started))
            plan.refused.append({e.line, e.newName, e.oldName, RenameReason::EntryReplaced});
        else
            plan.moves.append({e.line, plan.keep(e.newName), plan.keep(e.oldName), e.inode});
    }
    if (!gone.isEmpty()) {
        QHash<quint64, QString> nameOfInode;
        for (auto& [name, inode] : listing(dir))
            nameOfInode.insert(inode, std::move(name));
        for (qsizetype i : std::as_const(gone)) {
            const JournalEntry& e = j->entries.at(i);
            const auto it = nameOfInode.constFind(e.inode);
            if (it != nameOfInode.cend() && isEntry(dir.entryIdentity(it.value()), dir, e, j->header.started))
                plan.refused.append({e.line, e.newName, e.oldName, RenameReason::EntryRenamedElsewhere, 0, 0, it.value()});
            else
                plan.refused.append({e.line, e.newName, e.oldName, RenameReason::EntryMissing});
        }
        sortByLine(plan.refused);
    }
    DirRenamer renamer(dir);
    RenameJournal journal(m_folder, dir, RenameJournal::Kind::Undo);
    outcome = executeRenames(plan, renamer, {}, &journal);
    if (outcome.stopped != RenameStop::None)
        return outcome;
    if (j->damaged)
        setAsideDamaged(last->file, *j, dir, outcome);
    else
        journalstore::appendEnd(last->file, JournalEnd::Undone);
    return outcome;
}

}  // namespace names
