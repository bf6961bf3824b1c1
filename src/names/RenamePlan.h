#pragma once
// From the name text to renamed entries: first a plan that refuses what
// cannot work, then its execution, which never replaces an entry and
// handles swaps and cycles through temporary names.
#include "names/NameColumn.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

namespace names {

class Renamer;
class RenameJournal;

struct PlannedRename {
    int line;  // 1-based line of the name text
    QStringView from;  // the entry's name now: characters its plan keeps (RenamePlan::names, ownNames)
    QStringView to;    // its new name: characters its plan keeps (RenamePlan::targets, ownNames)
    quint64 inode = 0;  // what `from` was when listed, for the journal; 0 when not known
};

// Why an entry did not get its new name (or, after a recovery, the name chosen).
enum class RenameReason {
    EmptyName,              // the new name is empty
    DotName,                // "." or ".."
    ControlCharacter,       // a tab, a line break or another control character
    Slash,                  // contains "/"
    NotRepresentable,       // does not survive the file system's encoding
    TooLong,                // longer than the file system allows: nameBytes, byteLimit
    NeverListed,            // hidden name or the sibling tool's name: the entry would drop out of the list
    SameTargetAsLine,       // an earlier line has the same final name (otherLine)
    TargetHeldByStayingLine,  // the target is the name of a listed entry that keeps it (otherLine)
    TargetExists,           // an entry the list does not show already has the name
    NoFreeTemporaryName,    // every temporary name tried was taken
    DiskError,              // the file system refused: errorCode
    LeftUnderTemporaryName, // neither the new nor the old name could be had (errorCode); see currentName
    KeptUnderOtherName,     // after a recovery: neither wanted name was free; see currentName
    EntryMissing,           // after a recovery or undo: the entry is not in the directory any more
    EntryReplaced,          // undo: another entry now has the name this rename gave
    EntryRenamedElsewhere,  // undo: another program renamed the entry meanwhile; see currentName
    StrayTemporaryName,     // after a recovery from a damaged journal: an entry still under currentName
};

struct RenameProblem {
    RenameProblem() = default;
    RenameProblem(int atLine, QString fromName, QString toName, RenameReason why, int error = 0, int lineInTheWay = 0,
                  QString nameNow = {})
        : line(atLine), from(std::move(fromName)), to(std::move(toName)), reason(why), errorCode(error),
          otherLine(lineInTheWay), currentName(std::move(nameNow))
    {
    }

    int line = 0;  // 1-based line of the name text
    QString from;
    QString to;
    RenameReason reason = RenameReason::DiskError;
    int errorCode = 0;     // DiskError, LeftUnderTemporaryName: errno value
    int otherLine = 0;     // SameTargetAsLine, TargetHeldByStayingLine
    QString currentName;   // LeftUnderTemporaryName, KeptUnderOtherName, EntryRenamedElsewhere,
                           // StrayTemporaryName: the name the entry has now
    QString fileSystem;    // DiskError EOPNOTSUPP: the file system that refused, where known
    int nameBytes = 0;     // TooLong: the new name's length in the file system's encoding
    int byteLimit = 0;     // TooLong: the most the file system takes
};

struct RenamePlan {
    QList<PlannedRename> moves;      // in line order
    QList<RenameProblem> refused;    // in line order
    // What the moves' names view: the listed names the plan was made from (shared, not copied: a million
    // of them would otherwise be a million strings), the new names packed as they were worked out, and
    // names a plan made otherwise keeps itself. Copies of the plan share all three, so their views stay
    // valid while any copy lives.
    NameColumn names;
    NameColumn targets;
    QStringList ownNames;
    QStringView keep(const QString& name)
    {
        ownNames.append(name);
        return ownNames.constLast();
    }
};

// The lines of a CR LF text as the rename reads them: the characters up to a
// CR form a line, the character after the CR is skipped, and what follows the
// last CR is the last line (so "" gives one empty line and "a\r\n" gives
// "a" and ""). At most maxLines lines.
QStringList splitNameLines(const QString& text, qsizetype maxLines);
// The same lines as views into `text`, which must outlive them.
QList<QStringView> splitNameLineViews(QStringView text, qsizetype maxLines);

// What the plan knows of the directory beyond its list.
struct PlanLimits {
    static constexpr qsizetype kDefaultNameBytes = 255;
    qsizetype nameMaxBytes = kDefaultNameBytes;  // the longest name the file system takes, in bytes
    // Whether an entry that is not in the list holds `name`; none: only the listed names are known.
    std::function<bool(const QString& name)> takenOutsideList;
};

// originals: the entry names in list order; lines[i] is the line of
// originals[i]. Lines past the list are ignored; an entry without a line, or
// with a blank line, keeps its name. RenamePlanner (RenamePlanner.h) does the
// same work in slices.
RenamePlan planRenames(const NameColumn& originals, const QList<QStringView>& lines, const PlanLimits& limits = {});
RenamePlan planRenames(const NameColumn& originals, const QStringList& lines, const PlanLimits& limits = {});

// What stopped a rename before any entry was touched.
enum class RenameStop {
    None,
    JournalNotWritten,  // the journal could not be made durable: stopError
    DirectoryMoved,     // the path no longer leads to the directory that was listed
    UnfinishedRename,   // an interrupted rename of the directory must be finished or rolled back first
};

struct RenameOutcome {
    QList<RenameProblem> failed;             // refused by the plan and failed on disk, in line order
    QList<bool> movedToTarget;               // per planned move, in plan order: it now has its new name
    qsizetype renamed = 0;                   // entries that now carry their new name
    RenameStop stopped = RenameStop::None;
    int stopError = 0;                       // errno value for the stop
    // A recovery or undo found its journal damaged and set it aside under this file name.
    QString journalSetAside;
    QString journalDirectory;                // the directory that journal named
};

// "name (2).mp3" for "name.mp3": a free name for an entry whose wanted names are all taken.
QString numberedName(const QString& name, int number);
inline constexpr int kNumberedNameAttempts = 99;

// Carries out `plan` through `renamer`. `progress` is told how many of the
// planned entries are done out of how many: once at the start, then every
// few hundred entries and at the end. With a journal, the plan is written to
// it and made durable before the first rename; when that fails nothing is
// renamed and the outcome says so.
RenameOutcome executeRenames(const RenamePlan& plan, Renamer& renamer,
                             const std::function<void(qsizetype done, qsizetype total)>& progress = {},
                             RenameJournal* journal = nullptr);

}  // namespace names
