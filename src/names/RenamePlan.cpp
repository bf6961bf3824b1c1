#include "names/RenamePlan.h"

#include "names/NameTable.h"
#include "names/RenameJournal.h"
#include "names/SafeRename.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <optional>
#include <cerrno>
#include <vector>

namespace names {

namespace {

constexpr qsizetype kProgressEvery = 256;
constexpr int kTempNameAttempts = 64;

}  // namespace

QString numberedName(const QString& name, int number)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const qsizetype split = dot > 0 ? dot : name.size();
    return name.left(split) + QStringLiteral(" (%1)").arg(number) + name.mid(split);
}

namespace {

// Moves the entry under `temp` to the first free numbered form of `name`; empty when none could be had.
QString placeUnderNumberedName(Renamer& renamer, const QString& temp, const QString& name)
{
    for (int k = 1; k <= kNumberedNameAttempts; ++k) {
        const QString candidate = numberedName(name, k);
        const int err = renamer.rename(temp, candidate);
        if (err == 0)
            return candidate;
        if (err != EEXIST)
            break;  // the file system refuses more than this one name
    }
    return {};
}

}  // namespace

QHash<QString, QString> RenameOutcome::previousNames() const
{
    QHash<QString, QString> previous;
    previous.reserve(moved.size());
    for (const auto& [now, before] : moved)
        previous.insert(now, before);
    return previous;
}

RenameOutcome executeRenames(const RenamePlan& plan, Renamer& renamer,
                             const std::function<void(qsizetype, qsizetype)>& progress, RenameJournal* journal)
{
    const QList<PlannedRename>& moves = plan.moves;
    const qsizetype n = moves.size();
    RenameOutcome outcome;
    outcome.moved.reserve(n);
    QList<RenameProblem> diskFailures;

    // A target that is (up to letter case, for file systems that ignore it)
    // the current name of a moving entry is free only after that entry has
    // left: such moves, case-only changes included, go through a temporary name.
    NameTable<Qt::CaseInsensitive> sources(n);
    for (qsizetype i = 0; i < n; ++i)
        sources.insert(moves.at(i).from, int(i));
    // Needed only to pick temporary names, which most renames do without.
    std::optional<NameTable<Qt::CaseInsensitive>> targets;
    QList<QString> tempName(n);
    std::vector<bool> viaTemporaryName(size_t(n), false);
    qsizetype tempCount = 0;
    auto freshTemporaryName = [&] {
        QString name;
        if (!targets) {
            targets.emplace(n);
            for (qsizetype i = 0; i < n; ++i)
                targets->insert(moves.at(i).to, int(i));
        }
        do
            name = randomTemporaryName();
        while (sources.contains(name) || targets->contains(name));
        return name;
    };
    for (qsizetype i = 0; i < n; ++i) {
        if (sources.contains(moves.at(i).to)) {
            tempName[i] = freshTemporaryName();
            viaTemporaryName[size_t(i)] = true;
            ++tempCount;
        }
    }

    outcome.movedToTarget.resize(n, false);

    if (journal && n > 0) {  // with nothing to move there is nothing to recover or undo
        QList<JournalEntry> entries;
        entries.reserve(n);
        for (qsizetype i = 0; i < n; ++i)
            entries.append({moves.at(i).line, moves.at(i).from, tempName.at(i), moves.at(i).to, moves.at(i).inode});
        if (const int err = journal->writePlan(entries)) {
            outcome.stopped = RenameStop::JournalNotWritten;
            outcome.stopError = err;
            return outcome;
        }
    }

    qsizetype done = 0;
    qsizetype reported = 0;
    auto entryDone = [&](qsizetype i) {
        ++done;
        if (journal)
            journal->markDone(i);
        if (progress && (done - reported >= kProgressEvery || done == n)) {
            reported = done;
            progress(done, n);
        }
    };
    if (progress)
        progress(0, n);

    std::optional<QString> fileSystem;  // asked once, at the first refusal that names it
    auto diskFailure = [&](const PlannedRename& m, int err) {
        diskFailures.append({m.line, m.from, m.to, err == EEXIST ? RenameReason::TargetExists : RenameReason::DiskError,
                             err == EEXIST ? 0 : err});
        if (err == EOPNOTSUPP) {
            if (!fileSystem)
                fileSystem = renamer.fileSystemName();
            diskFailures.last().fileSystem = *fileSystem;
        }
    };

    // Phase 1: move the blocking entries out of the way.
    for (qsizetype i = 0; i < n && tempCount > 0; ++i) {
        if (tempName.at(i).isEmpty())
            continue;
        const PlannedRename& m = moves.at(i);
        // The no-replace rename itself claims the name: EEXIST means taken, try another.
        int err = renamer.rename(m.from, tempName.at(i));
        for (int attempt = 1; attempt < kTempNameAttempts && err == EEXIST; ++attempt) {
            tempName[i] = freshTemporaryName();
            err = renamer.rename(m.from, tempName.at(i));
        }
        if (err != 0) {
            if (err == EEXIST)
                diskFailures.append({m.line, m.from, m.to, RenameReason::NoFreeTemporaryName});
            else
                diskFailure(m, err);
            tempName[i].clear();
            entryDone(i);
        }
    }

    // Phase 2: moves onto names that no moving entry holds.
    for (qsizetype i = 0; i < n; ++i) {
        if (viaTemporaryName[size_t(i)])
            continue;
        const PlannedRename& m = moves.at(i);
        const int err = renamer.rename(m.from, m.to);
        if (err == 0) {
            outcome.moved.append({m.to, m.from});
            outcome.movedToTarget[i] = true;
            ++outcome.renamed;
        } else {
            diskFailure(m, err);
        }
        entryDone(i);
    }

    // Phase 3: from the temporary names to the targets, which are free now
    // unless the entry holding them could not move.
    for (qsizetype i = 0; i < n; ++i) {
        const QString& temp = tempName[i];
        if (temp.isEmpty())
            continue;
        const PlannedRename& m = moves.at(i);
        const int err = renamer.rename(temp, m.to);
        if (err == 0) {
            outcome.moved.append({m.to, m.from});
            outcome.movedToTarget[i] = true;
            ++outcome.renamed;
        } else if (renamer.rename(temp, m.from) == 0) {
            diskFailure(m, err);
        } else if (const QString other = placeUnderNumberedName(renamer, temp, m.from); !other.isEmpty()) {
            // Another program took both names meanwhile; a temporary name would outlive the rename.
            outcome.moved.append({other, m.from});
            diskFailures.append({m.line, m.from, m.to, RenameReason::KeptUnderOtherName, err, 0, other});
        } else {
            // No name could be had: say where the entry is now; the journal stays open for it.
            outcome.moved.append({temp, m.from});
            diskFailures.append({m.line, m.from, m.to, RenameReason::LeftUnderTemporaryName, err, 0, temp});
        }
        entryDone(i);
    }
    // An entry stranded under a temporary name keeps the journal open, so that the next opening of the
    // directory offers to recover it.
    const bool stranded = std::any_of(diskFailures.cbegin(), diskFailures.cend(), [](const RenameProblem& p) {
        return p.reason == RenameReason::LeftUnderTemporaryName;
    });
    if (journal && !stranded) {
        // A rename that moved nothing (every entry refused) is no rename to undo.
        if (outcome.moved.isEmpty())
            journal->discard();
        else
            journal->finish();
    }

    outcome.failed = plan.refused + diskFailures;
    std::stable_sort(outcome.failed.begin(), outcome.failed.end(),
                     [](const RenameProblem& a, const RenameProblem& b) { return a.line < b.line; });
    return outcome;
}

}  // namespace names
