// The execution of a rename plan: entries whose new name another moving entry still holds go aside
// under temporary names first, then the direct moves, then the moves from the temporary names.
#include "names/RenamePlan.h"

#include "names/NameTable.h"
#include "names/RenameJournal.h"
#include "names/SafeRename.h"
#include "names/TemporaryName.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

namespace names {

namespace {

constexpr qsizetype kProgressEvery = 256;
constexpr int kTempNameAttempts = 64;

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

class Execution {
public:
    Execution(const RenamePlan& plan, Renamer& renamer, const std::function<void(qsizetype, qsizetype)>& progress,
              RenameJournal* journal)
        : m_plan(plan), m_moves(plan.moves), m_n(m_moves.size()), m_renamer(renamer), m_progress(progress),
          m_journal(journal), m_sources(m_n, [this](int k) { return m_moves.at(k).from; })
    {
        m_outcome.movedToTarget.resize(m_n, false);
    }

    RenameOutcome run()
    {
        chooseTemporaryNames();
        if (!writeJournal())
            return std::move(m_outcome);
        if (m_progress)
            m_progress(0, m_n);
        moveBlockersAside();
        moveOntoFreeNames();
        moveFromTemporaryNames();
        closeJournal();
        m_outcome.failed = m_plan.refused + m_diskFailures;
        std::stable_sort(m_outcome.failed.begin(), m_outcome.failed.end(),
                         [](const RenameProblem& a, const RenameProblem& b) { return a.line < b.line; });
        return std::move(m_outcome);
    }

private:
    // A target that is (up to letter case, for file systems that ignore it) the current name of a moving
    // entry is free only after that entry has left: such moves, case-only changes included, go through a
    // temporary name.
    void chooseTemporaryNames()
    {
        for (qsizetype i = 0; i < m_n; ++i)
            m_sources.insert(m_moves.at(i).from, int(i));
        m_tempSlot.assign(size_t(m_n), -1);
        for (qsizetype i = 0; i < m_n; ++i) {
            if (m_sources.contains(m_moves.at(i).to)) {
                m_tempSlot[size_t(i)] = int(m_tempNames.size());
                m_tempNames.append(freshTemporaryName());
                ++m_tempCount;
            }
        }
    }

    QString freshTemporaryName()
    {
        // The targets are needed only to pick temporary names, which most renames do without.
        if (!m_targets) {
            m_targets.emplace(m_n, [this](int k) { return m_moves.at(k).to; });
            for (qsizetype i = 0; i < m_n; ++i)
                m_targets->insert(m_moves.at(i).to, int(i));
        }
        QString name;
        do
            name = randomTemporaryName();
        while (m_sources.contains(name) || m_targets->contains(name));
        return name;
    }

    // The plan is durable before the first entry moves; false when it could not be made so.
    bool writeJournal()
    {
        if (!m_journal || m_n == 0)  // with nothing to move there is nothing to recover or undo
            return true;
        const JournalPlan plan{m_n, [this](qsizetype i) {
                                   const PlannedRename& m = m_moves.at(i);
                                   return JournalEntryView{m.line, m.from, tempNameOf(i), m.to, m.inode};
                               }};
        if (const int err = m_journal->writePlan(plan)) {
            m_outcome.stopped = RenameStop::JournalNotWritten;
            m_outcome.stopError = err;
            return false;
        }
        return true;
    }

    // Phase 1: the entries whose names are wanted by others go under their temporary names.
    void moveBlockersAside()
    {
        for (qsizetype i = 0; i < m_n && m_tempCount > 0; ++i) {
            if (m_tempSlot[size_t(i)] < 0)
                continue;
            const PlannedRename& m = m_moves.at(i);
            QString& temp = m_tempNames[m_tempSlot[size_t(i)]];
            // The no-replace rename itself claims the name: EEXIST means taken, try another.
            int err = m_renamer.rename(m.from, temp);
            for (int attempt = 1; attempt < kTempNameAttempts && err == EEXIST; ++attempt) {
                temp = freshTemporaryName();
                err = m_renamer.rename(m.from, temp);
            }
            if (err != 0) {
                if (err == EEXIST)
                    m_diskFailures.append({m.line, m.from.toString(), m.to.toString(), RenameReason::NoFreeTemporaryName});
                else
                    diskFailure(m, err);
                temp.clear();
                entryDone(i);
            }
        }
    }

    // Phase 2: moves onto names that no moving entry holds.
    void moveOntoFreeNames()
    {
        for (qsizetype i = 0; i < m_n; ++i) {
            if (m_tempSlot[size_t(i)] >= 0)
                continue;
            const PlannedRename& m = m_moves.at(i);
            const int err = m_renamer.rename(m.from, m.to);
            if (err == 0)
                moved(i);
            else
                diskFailure(m, err);
            entryDone(i);
        }
    }

    // Phase 3: from the temporary names to the targets, which are free now unless the entry holding
    // them could not move.
    void moveFromTemporaryNames()
    {
        for (qsizetype i = 0; i < m_n; ++i) {
            if (m_tempSlot[size_t(i)] < 0 || m_tempNames.at(m_tempSlot[size_t(i)]).isEmpty())
                continue;
            const QString& temp = m_tempNames.at(m_tempSlot[size_t(i)]);
            const PlannedRename& m = m_moves.at(i);
            const int err = m_renamer.rename(temp, m.to);
            if (err == 0) {
                moved(i);
            } else if (m_renamer.rename(temp, m.from) == 0) {
                diskFailure(m, err);
            } else if (const QString other = placeUnderNumberedName(m_renamer, temp, m.from.toString()); !other.isEmpty()) {
                // Another program took both names meanwhile; a temporary name would outlive the rename.
                ++m_movedAway;
                m_diskFailures.append({m.line, m.from.toString(), m.to.toString(), RenameReason::KeptUnderOtherName, err, 0, other});
            } else {
                // No name could be had: say where the entry is now; the journal stays open for it.
                m_diskFailures.append({m.line, m.from.toString(), m.to.toString(), RenameReason::LeftUnderTemporaryName, err, 0, temp});
            }
            entryDone(i);
        }
    }

    // An entry stranded under a temporary name keeps the journal open, so that the next opening of the
    // directory offers to recover it.
    void closeJournal()
    {
        if (!m_journal)
            return;
        const bool stranded = std::any_of(m_diskFailures.cbegin(), m_diskFailures.cend(), [](const RenameProblem& p) {
            return p.reason == RenameReason::LeftUnderTemporaryName;
        });
        if (stranded)
            return;
        // A rename that moved nothing (every entry refused) is no rename to undo.
        if (m_outcome.renamed == 0 && m_movedAway == 0)
            m_journal->discard();
        else
            m_journal->finish();
    }

    QStringView tempNameOf(qsizetype i) const
    {
        const int slot = m_tempSlot[size_t(i)];
        return slot < 0 ? QStringView() : QStringView(m_tempNames.at(slot));
    }

    void moved(qsizetype i)
    {
        m_outcome.movedToTarget[i] = true;
        ++m_outcome.renamed;
    }

    void diskFailure(const PlannedRename& m, int err)
    {
        m_diskFailures.append({m.line, m.from.toString(), m.to.toString(), err == EEXIST ? RenameReason::TargetExists : RenameReason::DiskError,
                               err == EEXIST ? 0 : err});
        if (err == EOPNOTSUPP) {
            if (!m_fileSystem)  // asked once, at the first refusal that names it
                m_fileSystem = m_renamer.fileSystemName();
            m_diskFailures.last().fileSystem = *m_fileSystem;
        }
    }

    void entryDone(qsizetype i)
    {
        ++m_done;
        if (m_journal)
            m_journal->markDone(i);
        if (m_progress && (m_done - m_reported >= kProgressEvery || m_done == m_n)) {
            m_reported = m_done;
            m_progress(m_done, m_n);
        }
    }

    const RenamePlan& m_plan;
    const QList<PlannedRename>& m_moves;
    const qsizetype m_n;
    Renamer& m_renamer;
    const std::function<void(qsizetype, qsizetype)>& m_progress;
    RenameJournal* m_journal;

    NameTable<Qt::CaseInsensitive> m_sources;
    std::optional<NameTable<Qt::CaseInsensitive>> m_targets;
    // Per move, its place in m_tempNames, or -1 for a move straight to its new name; a temporary name
    // that could not be had is cleared, and the move stays out of the straight ones.
    std::vector<int> m_tempSlot;
    QStringList m_tempNames;
    qsizetype m_tempCount = 0;
    qsizetype m_movedAway = 0;  // entries that ended under another name than planned

    RenameOutcome m_outcome;
    QList<RenameProblem> m_diskFailures;
    std::optional<QString> m_fileSystem;
    qsizetype m_done = 0;
    qsizetype m_reported = 0;
};

}  // namespace

RenameOutcome executeRenames(const RenamePlan& plan, Renamer& renamer,
                             const std::function<void(qsizetype, qsizetype)>& progress, RenameJournal* journal)
{
    return Execution(plan, renamer, progress, journal).run();
}

}  // namespace names
