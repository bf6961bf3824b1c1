#pragma once
// A record of one rename, kept outside the renamed directory, from which an
// interrupted rename can be finished or rolled back and a completed one undone.
//
// The plan (the directory and, per entry, its old, temporary and new name and
// its inode) is made durable before the first entry is touched. Progress marks
// follow without waiting for the disk: recovery goes by where each inode is
// now, so a lost mark costs nothing.
#include "names/DirectoryHandle.h"
#include "names/DirectoryWatch.h"
#include "names/JournalFormat.h"
#include "names/RenamePlan.h"

#include <QFile>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace names {

// One rename's journal, written as the rename goes on (see executeRenames).
class RenameJournal {
public:
    using Kind = JournalKind;

    // `folder` is created when missing; nothing is written before writePlan. `dir` must outlive the journal.
    // With `watch` (set on `dir` before the entries' inodes were listed), only the inodes of names changed
    // since are confirmed on disk; writePlan reads the watch last and stops it.
    RenameJournal(const QString& folder, const DirectoryHandle& dir, Kind kind = Kind::Rename,
                  DirectoryWatch* watch = nullptr);
    ~RenameJournal();
    RenameJournal(const RenameJournal&) = delete;
    RenameJournal& operator=(const RenameJournal&) = delete;

    // Writes the plan atomically and durably; 0 or an errno value. Reads each entry's inode.
    int writePlan(const JournalPlan& plan);
    int writePlan(const QList<JournalEntry>& entries);
    void markDone(qsizetype index);  // entry `index` of the plan reached its end state
    // The rename ran to its end: the journal becomes the directory's last rename; older ones are pruned.
    void finish();
    // The rename ran to its end without moving any entry: there is nothing to recover or undo.
    void discard();

    QString filePath() const { return m_filePath; }

private:
    QString m_folder;
    const DirectoryHandle& m_dir;
    Kind m_kind;
    DirectoryWatch* m_watch;
    void writeMarks();

    // Marks go out in blocks: a write per entry would cost a share of the rename itself.
    static constexpr qsizetype kMarkBufferBytes = 64 * 1024;

    QString m_filePath;
    QFile m_marks;
    QByteArray m_pendingMarks;
};

enum class RecoveryChoice {
    Finish,    // every entry to its new name
    Rollback,  // every entry back to its name from before
};

struct UnfinishedRename {
    QString journalFile;
    QString directoryPath;  // as it was when the rename started
    qsizetype entryCount = 0;  // the entries read whole
    // The journal did not read whole: only the entries read whole can be brought to an end, and the
    // journal is set aside afterwards.
    bool damaged = false;
};

// Whether a journal was written for the directory `opened`, by the identity it recorded.
enum class JournalBelonging {
    Yes,         // device, inode and birth time agree
    NeedsProof,  // device and inode agree, but a birth time is missing: its entries must be found there
    FolderGone,  // device and inode agree, the birth time does not: its directory no longer exists
    Elsewhere,   // another directory
};
JournalBelonging journalBelonging(const FileIdentity& recorded, const FileIdentity& opened);

// Whether enough of a journal's entries (a sample of `entries`) are in the directory by inode under one of
// their own names; `identityOf` reads an entry of the directory. Settles NeedsProof.
bool entriesFoundInDirectory(const QList<JournalEntry>& entries, qint64 started, quint64 device,
                             const std::function<FileIdentity(const QString&)>& identityOf);

// The folder of journals (the window passes its application data folder), readable by its owner only.
class JournalFolder {
public:
    static constexpr int kKeptJournals = 20;

    explicit JournalFolder(const QString& folder);
    QString path() const { return m_folder; }

    // An interrupted rename of the directory held by `dir`, if any. A journal whose directory is proven
    // gone (another directory now has its inode) is set aside on the way.
    std::optional<UnfinishedRename> findUnfinished(const DirectoryHandle& dir);
    // Brings every entry of the interrupted rename to the chosen names without overwriting anything;
    // entries that cannot get them are in `failed`, and no entry of the rename is left under a temporary
    // name. A damaged journal is set aside afterwards; the temporary names still in the directory are then
    // in `failed` with line 0.
    RenameOutcome recover(const DirectoryHandle& dir, RecoveryChoice choice);

    // True when the directory has a completed rename that was not undone.
    bool hasLastRename(const DirectoryHandle& dir);
    // Gives every entry that is still what the last rename renamed (by inode) its old name back; the
    // others are in `failed`. The undo has a journal of its own.
    RenameOutcome undoLastRename(const DirectoryHandle& dir);

private:
    QString m_folder;
};

}  // namespace names
