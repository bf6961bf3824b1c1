#pragma once
// The text of a rename journal: written by RenameJournal, read back by the recovery and the undo.
//
//   quillet-journal 1
//   kind    rename | undo
//   dir     the directory's path when the rename started
//   id      device, inode and (where the file system keeps one) birth time of the directory
//   started nanoseconds since the epoch
//   entries how many entry lines follow
//   <line> <inode> <old name> <temporary name> <new name>    one per entry
//   plan
//   d <index>                                                 progress marks
//   finished | rolled-back | undone                           how it ended
//
// Fields are tab-separated; tabs, line breaks and backslashes in names are escaped. A journal is
// read from disk, where anyone may have changed it: the reader bounds every count and line, keeps
// only entries read whole with names that are bare names, and says when anything did not read.
#include "names/DirectoryHandle.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace names {

struct JournalEntry {
    int line = 0;       // 1-based line of the name text
    QString oldName;
    QString tempName;   // empty when the entry moves straight to its new name
    QString newName;
    quint64 inode = 0;  // as listed; confirmed or read when the plan is written; 0: missing then
};

enum class JournalKind { Rename, Undo };  // an undo's own journal is never offered for undo

// How a journal ended, from its last line.
enum class JournalEnd {
    Open,        // interrupted (or still running)
    Finished,    // ran to its end, or was finished by a recovery
    RolledBack,  // a recovery put the old names back
    Undone,      // an undo put the old names back
};

struct JournalHeader {
    JournalKind kind = JournalKind::Rename;
    QString directoryPath;
    FileIdentity directory;   // birth 0 where the file system keeps none
    qint64 started = 0;       // nanoseconds since the epoch
    qsizetype entryCount = 0; // as announced
};

struct ParsedJournal {
    JournalHeader header;
    QList<JournalEntry> entries;  // the entries read whole, in plan order
    JournalEnd end = JournalEnd::Open;
    // Anything did not read as written: a field, an entry line, the announced count, the end of the plan.
    bool damaged = false;
};

// Bounds far above any real journal; a count or line past them is damage, not data.
inline constexpr qsizetype kMaxJournalEntries = 10'000'000;
inline constexpr qsizetype kMaxJournalLineBytes = 64 * 1024;
// What a look-up reads of each journal: the header and the first few thousand entries.
inline constexpr qsizetype kJournalHeadBytes = 256 * 1024;

QByteArray journalKindText(JournalKind kind);

// A plan's entries as the rename holds them, read one at a time: a list of copies would add to the
// peak of a rename of a million entries.
// An entry as a plan hands it to the journal: its names viewed where the plan keeps them.
struct JournalEntryView {
    int line = 0;
    QStringView oldName;
    QStringView tempName;
    QStringView newName;
    quint64 inode = 0;
};

struct JournalPlan {
    qsizetype size = 0;
    std::function<JournalEntryView(qsizetype)> entry;
    static JournalPlan of(const QList<JournalEntry>& entries)
    {
        return {entries.size(), [&entries](qsizetype i) {
                    const JournalEntry& e = entries.at(i);
                    return JournalEntryView{e.line, e.oldName, e.tempName, e.newName, e.inode};
                }};
    }
};

// The whole plan: header, entry lines (with `inodes` in place of the entries' own) and the plan's end,
// handed to `sink` in pieces; false as soon as the sink says so.
bool writeJournalPlan(const JournalHeader& header, const JournalPlan& plan, const std::vector<quint64>& inodes,
                      const std::function<bool(QByteArrayView)>& sink);
// The same plan in one piece.
QByteArray formatJournalPlan(const JournalHeader& header, const QList<JournalEntry>& entries);
QByteArray journalEndMark(JournalEnd end);

// Reads `bytes` as a journal. Without the magic first line or a readable header, nothing (not a
// journal of this program, or one too damaged to name its directory). `whole` false: `bytes` is only the
// head of the file, so entries cut off by its end are no damage; the end is then read from `tail`.
std::optional<ParsedJournal> parseJournal(QByteArrayView bytes, bool whole = true);
// How a journal ended, from the last bytes of its file.
JournalEnd journalEndFromTail(QByteArrayView tail);

}  // namespace names
