#include "names/RenamePlan.h"

#include "names/DirectoryScan.h"
#include "names/NameRules.h"
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

constexpr qsizetype kMaxNameBytes = 255;
constexpr qsizetype kProgressEvery = 256;
constexpr int kTempNameAttempts = 64;

// The length of `name` in UTF-8, the file system's encoding, for a name without surrogates;
// counted rather than encoded, as every new name of a rename is measured.
qsizetype utf8Length(const QString& name)
{
    qsizetype bytes = 0;
    for (QChar c : name)
        bytes += c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 ? 2 : 3;
    return bytes;
}

// Why the file system could not take `name` as an entry name, or why the scan would lose it.
std::optional<RenameReason> refusalOf(const QString& name)
{
    if (name.isEmpty())
        return RenameReason::EmptyName;
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return RenameReason::DotName;
    bool surrogates = false;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F)
            return RenameReason::ControlCharacter;
        if (u == u'/')
            return RenameReason::Slash;
        surrogates = surrogates || c.isSurrogate();
    }
    if (surrogates) {
        const QByteArray encoded = QFile::encodeName(name);
        // A name that does not survive the trip into the file system's encoding
        // (a lone surrogate, say) would end up under some other name.
        if (QFile::decodeName(encoded) != name)
            return RenameReason::NotRepresentable;
        if (encoded.size() > kMaxNameBytes)
            return RenameReason::TooLong;
    } else if (utf8Length(name) > kMaxNameBytes) {
        return RenameReason::TooLong;
    }
    if (!isListableName(name))
        return RenameReason::NeverListed;
    return std::nullopt;
}

// A set of names that ignores letter case, as some file systems do. It hashes
// the folded characters in place instead of building folded copies, which at
// 100,000 entries would cost a noticeable share of the rename itself.
class CaselessNames {
public:
    explicit CaselessNames(qsizetype expected)
    {
        size_t size = 16;
        while (size < size_t(expected) * 2)
            size *= 2;
        m_slots.assign(size, Slot{});
        m_mask = size - 1;
    }

    // `name` must outlive the set.
    void insert(const QString& name)
    {
        const size_t h = hashOf(name);
        size_t i = h & m_mask;
        for (; m_slots[i].name; i = (i + 1) & m_mask)
            if (m_slots[i].hash == h && equal(*m_slots[i].name, name))
                return;
        m_slots[i] = {h, &name};
    }

    bool contains(QStringView name) const
    {
        const size_t h = hashOf(name);
        for (size_t i = h & m_mask; m_slots[i].name; i = (i + 1) & m_mask)
            if (m_slots[i].hash == h && equal(*m_slots[i].name, name))
                return true;
        return false;
    }

private:
    struct Slot {
        size_t hash = 0;
        const QString* name = nullptr;
    };

    static bool equal(QStringView a, QStringView b)
    {
        return a.compare(b, Qt::CaseInsensitive) == 0;
    }

    static size_t hashOf(QStringView s)
    {
        size_t h = 14695981039346656037ull;
        for (qsizetype i = 0; i < s.size(); ++i) {
            char32_t c = s[i].unicode();
            if (c < 0x80) {
                if (c >= 'A' && c <= 'Z')
                    c += 'a' - 'A';
            } else {
                if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s[i + 1].isLowSurrogate())
                    c = QChar::surrogateToUcs4(char16_t(c), s[++i].unicode());
                c = QChar::toCaseFolded(c);
            }
            h = (h ^ c) * 1099511628211ull;
        }
        return h;
    }

    std::vector<Slot> m_slots;
    size_t m_mask = 0;
};

}  // namespace

QStringList splitNameLines(const QString& text, qsizetype maxLines)
{
    QStringList lines;
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

RenamePlan planRenames(const QStringList& originals, const QStringList& lines)
{
    enum class State : unsigned char { Stays, Moves, Refused };
    const qsizetype n = originals.size();
    QList<State> state(n, State::Stays);
    QList<QString> target(n);
    QList<RenameProblem> refusal(n);

    // Each line on its own: the final name, and whether the file system could take it.
    for (qsizetype i = 0; i < n && i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (isBlankLine(line))
            continue;
        QString name = applyExtensionRule(originals.at(i), line);
        if (name == originals.at(i))
            continue;
        if (const auto why = refusalOf(name)) {
            state[i] = State::Refused;
            refusal[i].reason = *why;
        } else {
            state[i] = State::Moves;
        }
        target[i] = std::move(name);
    }

    // Two lines with the same final name: the first one keeps it.
    QHash<QString, qsizetype> moveByTarget;
    moveByTarget.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        if (state[i] != State::Moves)
            continue;
        const auto it = moveByTarget.constFind(target[i]);
        if (it == moveByTarget.cend()) {
            moveByTarget.insert(target[i], i);
        } else {
            state[i] = State::Refused;
            refusal[i].reason = RenameReason::SameTargetAsLine;
            refusal[i].otherLine = int(it.value() + 1);
        }
    }

    // A move onto the name of an entry that keeps its name cannot succeed,
    // and refusing it keeps its own name occupied in turn: follow the chain.
    std::vector<qsizetype> staying;
    staying.reserve(static_cast<size_t>(n));
    for (qsizetype i = 0; i < n; ++i)
        if (state[i] != State::Moves)
            staying.push_back(i);
    while (!staying.empty()) {
        const qsizetype s = staying.back();
        staying.pop_back();
        const qsizetype k = moveByTarget.value(originals.at(s), -1);
        if (k < 0 || state[k] != State::Moves)
            continue;
        if (state[s] == State::Refused) {
            refusal[k].reason = RenameReason::TargetHeldByStayingLine;
            refusal[k].otherLine = int(s + 1);
        } else {
            refusal[k].reason = RenameReason::TargetExists;
        }
        state[k] = State::Refused;
        staying.push_back(k);
    }

    RenamePlan plan;
    plan.moves.reserve(moveByTarget.size());
    for (qsizetype i = 0; i < n; ++i) {
        const int line = int(i + 1);
        if (state[i] == State::Moves) {
            plan.moves.append({line, originals.at(i), target[i]});
        } else if (state[i] == State::Refused) {
            RenameProblem p = refusal[i];
            p.line = line;
            p.from = originals.at(i);
            p.to = target[i];
            plan.refused.append(std::move(p));
        }
    }
    return plan;
}

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
    CaselessNames sources(n);
    for (const PlannedRename& m : moves)
        sources.insert(m.from);
    // Needed only to pick temporary names, which most renames do without.
    std::optional<CaselessNames> targets;
    QList<QString> tempName(n);
    std::vector<bool> viaTemporaryName(size_t(n), false);
    qsizetype tempCount = 0;
    auto freshTemporaryName = [&] {
        QString name;
        if (!targets) {
            targets.emplace(n);
            for (const PlannedRename& m : moves)
                targets->insert(m.to);
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

    auto diskFailure = [&](const PlannedRename& m, int err) {
        diskFailures.append({m.line, m.from, m.to, err == EEXIST ? RenameReason::TargetExists : RenameReason::DiskError,
                             err == EEXIST ? 0 : err});
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
        } else {
            // Neither name could be had: say where the entry is now.
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
    if (journal && !stranded)
        journal->finish();

    outcome.failed = plan.refused + diskFailures;
    std::stable_sort(outcome.failed.begin(), outcome.failed.end(),
                     [](const RenameProblem& a, const RenameProblem& b) { return a.line < b.line; });
    return outcome;
}

}  // namespace names
