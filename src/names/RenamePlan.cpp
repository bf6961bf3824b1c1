#include "names/RenamePlan.h"

#include "names/DirectoryScan.h"
#include "names/NameRules.h"
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

RenamePlan planRenames(const QStringList& originals, const QStringList& lines)
{
    return planRenames(originals, QList<QStringView>(lines.cbegin(), lines.cend()));
}

RenamePlan planRenames(const QStringList& originals, const QList<QStringView>& lines)
{
    enum class State : unsigned char { Stays, Moves, Refused };
    const qsizetype n = originals.size();
    QList<State> state(n, State::Stays);
    QList<QString> target(n);
    struct Refusal {
        RenameReason reason = RenameReason::DiskError;
        int otherLine = 0;
    };
    std::vector<Refusal> refusal(static_cast<size_t>(n));

    // Each line on its own: the final name, and whether the file system could take it.
    for (qsizetype i = 0; i < n && i < lines.size(); ++i) {
        const QStringView line = lines.at(i);
        if (isBlankLine(line))
            continue;
        QString name = applyExtensionRule(originals.at(i), line);
        if (name == originals.at(i))
            continue;
        if (const auto why = refusalOf(name)) {
            state[i] = State::Refused;
            refusal[size_t(i)].reason = *why;
        } else {
            state[i] = State::Moves;
        }
        target[i] = std::move(name);
    }

    // Two lines with the same final name: the first one keeps it.
    NameTable<Qt::CaseSensitive> moveByTarget(n);
    qsizetype moving = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (state[i] != State::Moves)
            continue;
        const int first = moveByTarget.insert(target.at(i), int(i));
        if (first == i) {
            ++moving;
        } else {
            state[i] = State::Refused;
            refusal[size_t(i)] = {RenameReason::SameTargetAsLine, first + 1};
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
        const int k = moveByTarget.value(originals.at(s));
        if (k < 0 || state[k] != State::Moves)
            continue;
        if (state[s] == State::Refused)
            refusal[size_t(k)] = {RenameReason::TargetHeldByStayingLine, int(s + 1)};
        else
            refusal[size_t(k)].reason = RenameReason::TargetExists;
        state[k] = State::Refused;
        staying.push_back(k);
    }

    RenamePlan plan;
    plan.moves.reserve(moving);
    for (qsizetype i = 0; i < n; ++i) {
        const int line = int(i + 1);
        if (state[i] == State::Moves) {
            plan.moves.append({line, originals.at(i), target.at(i)});
        } else if (state[i] == State::Refused) {
            const Refusal& r = refusal[size_t(i)];
            plan.refused.append({line, originals.at(i), target.at(i), r.reason, 0, r.otherLine});
        }
    }
    return plan;
}

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
