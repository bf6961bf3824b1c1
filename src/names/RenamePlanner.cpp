#include "names/RenamePlanner.h"

#include "names/DirectoryScan.h"
#include "names/NameRules.h"

#include <QFile>

#include <algorithm>
#include <optional>

namespace names {

namespace {

// Lines worked between two looks at the clock.
constexpr qsizetype kLinesPerLook = 512;

// The length of `name` in UTF-8, the file system's encoding, for a name without surrogates;
// counted rather than encoded, as every new name of a rename is measured.
qsizetype utf8Length(const QString& name)
{
    qsizetype bytes = 0;
    for (QChar c : name)
        bytes += c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 ? 2 : 3;
    return bytes;
}

struct NameRefusal {
    RenameReason reason;
    qsizetype bytes = 0;
};

// Why the file system could not take `name` as an entry name, or why the scan would lose it.
std::optional<NameRefusal> refusalOf(const QString& name, qsizetype maxBytes)
{
    if (name.isEmpty())
        return NameRefusal{RenameReason::EmptyName};
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return NameRefusal{RenameReason::DotName};
    bool surrogates = false;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F)
            return NameRefusal{RenameReason::ControlCharacter};
        if (u == u'/')
            return NameRefusal{RenameReason::Slash};
        surrogates = surrogates || c.isSurrogate();
    }
    qsizetype bytes = 0;
    if (surrogates) {
        const QByteArray encoded = QFile::encodeName(name);
        // A name that does not survive the trip into the file system's encoding
        // (a lone surrogate, say) would end up under some other name.
        if (QFile::decodeName(encoded) != name)
            return NameRefusal{RenameReason::NotRepresentable};
        bytes = encoded.size();
    } else {
        bytes = utf8Length(name);
    }
    if (bytes > maxBytes)
        return NameRefusal{RenameReason::TooLong, bytes};
    if (!isListableName(name))
        return NameRefusal{RenameReason::NeverListed};
    return std::nullopt;
}

}  // namespace

QList<QStringView> splitNameLineViews(QStringView text, qsizetype maxLines)
{
    QList<QStringView> lines;
    if (maxLines <= 0)
        return lines;
    lines.reserve(std::min(maxLines, text.count(QLatin1Char('\r')) + 1));
    qsizetype pos = 0;
    while (lines.size() < maxLines) {
        const qsizetype cr = text.indexOf(QLatin1Char('\r'), pos);
        if (cr < 0) {
            lines.append(text.mid(pos));
            break;
        }
        lines.append(text.mid(pos, cr - pos));
        pos = std::min(cr + 2, text.size());  // the character after the CR is skipped
    }
    return lines;
}

QStringList splitNameLines(const QString& text, qsizetype maxLines)
{
    QStringList lines;
    for (QStringView line : splitNameLineViews(text, maxLines))
        lines.append(line.toString());
    return lines;
}

RenamePlan planRenames(const NameColumn& originals, const QStringList& lines, const PlanLimits& limits)
{
    return planRenames(originals, QList<QStringView>(lines.cbegin(), lines.cend()), limits);
}

RenamePlan planRenames(const NameColumn& originals, const QList<QStringView>& lines, const PlanLimits& limits)
{
    RenamePlanner planner(originals, lines, limits);
    planner.advance();
    return planner.takePlan();
}

RenamePlanner::RenamePlanner(const NameColumn& originals, QList<QStringView> lines, PlanLimits limits, bool withMoves)
    : m_originals(originals), m_limits(std::move(limits)), m_withMoves(withMoves), m_count(originals.size()),
      m_moveByTarget(0, [this](int k) { return targetOf(k); })
{
    restart(std::move(lines));
}

void RenamePlanner::restart(QList<QStringView> lines)
{
    m_lines = std::move(lines);
    m_phase = Phase::Lines;
    m_next = 0;
    m_state.assign(size_t(m_count), State::Stays);
    m_refusal.assign(size_t(m_count), Refusal{});
    m_targets.clear();  // a plan taken before keeps the names it shares
    m_longTargets.clear();
    m_targetAt.assign(size_t(m_count), -1);
    m_moveByTarget.reset(m_count);
    m_moving = 0;
    m_staying.clear();
    m_plan = {};
    m_plan.names = m_originals;
}

bool RenamePlanner::advance(const QDeadlineTimer& deadline)
{
    // Each phase walks the entries once; the clock is read every few hundred of them.
    auto walk = [&](qsizetype end, auto&& work, Phase next) {
        while (m_next < end) {
            work(m_next++);
            if (m_next % kLinesPerLook == 0 && deadline.hasExpired())
                return false;
        }
        m_next = 0;
        m_phase = next;
        return true;
    };
    for (;;) {
        switch (m_phase) {
        case Phase::Lines:
            if (!walk(std::min(m_count, m_lines.size()), [this](qsizetype i) { planLine(i); }, Phase::Targets))
                return false;
            break;
        case Phase::Targets:
            if (!walk(m_count, [this](qsizetype i) { claimTarget(i); }, Phase::Staying))
                return false;
            break;
        case Phase::Staying:
            m_staying.reserve(size_t(m_count));
            for (qsizetype i = 0; i < m_count; ++i)
                if (m_state[size_t(i)] != State::Moves)
                    m_staying.push_back(i);
            m_phase = Phase::Chain;
            break;
        case Phase::Chain:
            for (qsizetype k = 1; !m_staying.empty(); ++k) {
                followChain();
                if (k % kLinesPerLook == 0 && deadline.hasExpired())
                    return false;
            }
            if (m_withMoves) {
                m_plan.moves.reserve(m_moving);
                m_plan.targets = m_targets;
                for (const QString& name : std::as_const(m_longTargets))
                    m_plan.ownNames.append(name);
            }
            m_phase = Phase::Emit;
            break;
        case Phase::Emit:
            if (!walk(m_count, [this](qsizetype i) { emitLine(i); }, Phase::Done))
                return false;
            break;
        case Phase::Done:
            return true;
        }
    }
}

// Each line on its own: the final name, and whether the file system could take it.
void RenamePlanner::planLine(qsizetype i)
{
    const QStringView line = m_lines.at(i);
    if (isBlankLine(line))
        return;
    QString name = applyExtensionRule(m_originals.at(i), line);
    if (name == m_originals.at(i))
        return;
    if (const auto why = refusalOf(name, m_limits.nameMaxBytes)) {
        m_state[size_t(i)] = State::Refused;
        m_refusal[size_t(i)] = {why->reason, 0, int(why->bytes)};
    } else if (m_limits.takenOutsideList && m_limits.takenOutsideList(name)) {
        m_state[size_t(i)] = State::Refused;
        m_refusal[size_t(i)].reason = RenameReason::TargetExists;
    } else {
        m_state[size_t(i)] = State::Moves;
    }
    if (m_targets.append(name)) {
        m_targetAt[size_t(i)] = qint32(m_targets.size() - 1);
    } else {
        m_targetAt[size_t(i)] = qint32(-2 - m_longTargets.size());
        m_longTargets.append(std::move(name));
    }
}

// Two lines with the same final name: the first one keeps it.
void RenamePlanner::claimTarget(qsizetype i)
{
    if (m_state[size_t(i)] != State::Moves)
        return;
    const int first = m_moveByTarget.insert(targetOf(i), int(i));
    if (first == i) {
        ++m_moving;
    } else {
        m_state[size_t(i)] = State::Refused;
        m_refusal[size_t(i)] = {RenameReason::SameTargetAsLine, first + 1};
    }
}

// A move onto the name of an entry that keeps its name cannot succeed, and refusing it keeps its own
// name occupied in turn: the chain is followed from every entry that stays.
void RenamePlanner::followChain()
{
    const qsizetype s = m_staying.back();
    m_staying.pop_back();
    const int k = m_moveByTarget.value(m_originals.at(s));
    if (k < 0 || m_state[size_t(k)] != State::Moves)
        return;
    m_refusal[size_t(k)] = {RenameReason::TargetHeldByStayingLine, int(s + 1)};
    m_state[size_t(k)] = State::Refused;
    --m_moving;
    m_staying.push_back(k);
}

void RenamePlanner::emitLine(qsizetype i)
{
    const int line = int(i + 1);
    if (m_state[size_t(i)] == State::Moves) {
        if (m_withMoves)
            m_plan.moves.append({line, m_originals.at(i), targetOf(i)});
    } else if (m_state[size_t(i)] == State::Refused) {
        const Refusal& r = m_refusal[size_t(i)];
        RenameProblem problem(line, m_originals.at(i).toString(), targetOf(i).toString(), r.reason, 0, r.otherLine);
        if (r.reason == RenameReason::TooLong) {
            problem.nameBytes = r.nameBytes;
            problem.byteLimit = int(m_limits.nameMaxBytes);
        }
        m_plan.refused.append(std::move(problem));
    }
}

}  // namespace names
