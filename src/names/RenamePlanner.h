#pragma once
// The plan of a rename worked out in slices: the window checks the name text while the user types, and
// a slice must end before the next key is due. planRenames() runs it to the end in one go.
#include "names/RenamePlan.h"

#include "names/NameTable.h"

#include <QDeadlineTimer>

#include <vector>

namespace names {

class RenamePlanner {
public:
    // The characters `lines` view must outlive the planner; `originals` is shared, not copied.
    // `withMoves` false: the plan lists only the refusals, for a check that needs no more.
    RenamePlanner(const NameColumn& originals, QList<QStringView> lines, PlanLimits limits = {}, bool withMoves = true);
    RenamePlanner(const RenamePlanner&) = delete;  // its table asks it for names
    RenamePlanner& operator=(const RenamePlanner&) = delete;

    // Plans anew for other `lines` of the same originals, in the memory of the last plan.
    void restart(QList<QStringView> lines);

    // Works until the plan is done (true) or `deadline` has passed (false: call again).
    bool advance(const QDeadlineTimer& deadline = QDeadlineTimer(QDeadlineTimer::Forever));
    bool done() const { return m_phase == Phase::Done; }
    // The finished plan; valid once, after advance() returned true.
    RenamePlan takePlan() { return std::move(m_plan); }

private:
    enum class Phase { Lines, Targets, Staying, Chain, Emit, Done };
    enum class State : unsigned char { Stays, Moves, Refused };
    struct Refusal {
        RenameReason reason = RenameReason::DiskError;
        int otherLine = 0;
        int nameBytes = 0;
    };
    void planLine(qsizetype i);
    void claimTarget(qsizetype i);
    void followChain();
    void emitLine(qsizetype i);

    const NameColumn m_originals;
    QList<QStringView> m_lines;
    PlanLimits m_limits;
    bool m_withMoves = true;
    qsizetype m_count = 0;
    Phase m_phase = Phase::Lines;
    qsizetype m_next = 0;  // the next index of the running phase
    std::vector<State> m_state;
    QStringView targetOf(qsizetype i) const
    {
        const qint32 at = m_targetAt[size_t(i)];
        return at >= 0 ? m_targets.at(at) : QStringView(m_longTargets.at(-2 - at));
    }
    // The final names of the lines that do not stay, packed in line order (a string each would take twice
    // the memory, all of it fresh in a young process); names too long for the column, which no file
    // system takes, as strings. Per line: its place in m_targets, -2 minus its place in m_longTargets, or
    // -1 for a line that stays.
    NameColumn m_targets;
    QStringList m_longTargets;
    std::vector<qint32> m_targetAt;
    std::vector<Refusal> m_refusal;
    NameTable<Qt::CaseSensitive> m_moveByTarget;
    qsizetype m_moving = 0;
    std::vector<qsizetype> m_staying;
    RenamePlan m_plan;
};

}  // namespace names
