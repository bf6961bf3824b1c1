#pragma once
// From the name text to renamed entries: first a plan that refuses what
// cannot work, then its execution, which never replaces an entry and
// handles swaps and cycles through temporary names.
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace names {

class Renamer;

struct PlannedRename {
    int line;  // 1-based line of the name text
    QString from;
    QString to;
};

struct RenameProblem {
    int line;  // 1-based line of the name text
    QString from;
    QString to;
    QString reason;  // short German text
};

struct RenamePlan {
    QList<PlannedRename> moves;      // in line order
    QList<RenameProblem> refused;    // in line order
};

// The lines of a CR LF text as the rename reads them: the characters up to a
// CR form a line, the character after the CR is skipped, and what follows the
// last CR is the last line (so "" gives one empty line and "a\r\n" gives
// "a" and ""). At most maxLines lines.
QStringList splitNameLines(const QString& text, qsizetype maxLines);

// originals: the entry names in list order; lines[i] is the line of
// originals[i]. Lines past the list are ignored; an entry without a line, or
// with a blank line, keeps its name.
RenamePlan planRenames(const QStringList& originals, const QStringList& lines);

struct RenameOutcome {
    QList<RenameProblem> failed;             // refused by the plan and failed on disk, in line order
    QHash<QString, QString> previousName;    // name now on disk -> name before, for every moved entry
    qsizetype renamed = 0;                   // entries that now carry their new name
};

// Carries out `plan` through `renamer`. `progress` is told how many rename
// steps are done out of how many (a move through a temporary name is two
// steps): once at the start, then every few hundred steps and at the end.
RenameOutcome executeRenames(const RenamePlan& plan, Renamer& renamer,
                             const std::function<void(qsizetype done, qsizetype total)>& progress = {});

// German message naming each entry, its line and the reason (at most 30,
// then how many more); empty for an empty list.
QString describeProblems(const QList<RenameProblem>& problems);

}  // namespace names
