#include "names/RenamePlan.h"

#include "names/NameRules.h"
#include "names/SafeRename.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace names {

namespace {

constexpr qsizetype kMaxNameBytes = 255;
constexpr qsizetype kMaxListedProblems = 30;
constexpr qsizetype kProgressEvery = 256;
constexpr int kTempNameAttempts = 64;

// Why the file system could not take `name` as an entry name, or an empty text.
QString invalidNameReason(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("Name ist leer");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("„.“ und „..“ sind keine gültigen Namen");
    bool surrogates = false;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F)
            return QStringLiteral("Name enthält ein Steuerzeichen (z. B. Tabulator oder Zeilenumbruch)");
        if (u == u'/')
            return QStringLiteral("Name enthält „/“");
        surrogates = surrogates || c.isSurrogate();
    }
    const QByteArray encoded = QFile::encodeName(name);
    // A name that does not survive the trip into the file system's encoding
    // (a lone surrogate, say) would end up under some other name.
    if (surrogates && QFile::decodeName(encoded) != name)
        return QStringLiteral("Name lässt sich im Dateisystem nicht darstellen");
    if (encoded.size() > kMaxNameBytes)
        return QStringLiteral("Name ist länger als 255 Byte");
    return {};
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

// Control characters would break the layout of a message; show their pictures.
QString visible(const QString& name)
{
    QString out = name;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u < 0x20)
            c = QChar(char16_t(0x2400 + u));
        else if (u == 0x7F)
            c = QChar(char16_t(0x2421));
    }
    return out;
}

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
    QList<QString> reason(n);

    // Each line on its own: the final name, and whether the file system could take it.
    for (qsizetype i = 0; i < n && i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (isBlankLine(line))
            continue;
        QString name = applyExtensionRule(originals.at(i), line);
        if (name == originals.at(i))
            continue;
        QString why = invalidNameReason(name);
        state[i] = why.isEmpty() ? State::Moves : State::Refused;
        reason[i] = std::move(why);
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
            reason[i] = QStringLiteral("gleicher Zielname wie Zeile %1").arg(it.value() + 1);
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
        state[k] = State::Refused;
        reason[k] = state[s] == State::Refused
            ? QStringLiteral("Ziel existiert bereits (Zeile %1 wird nicht umbenannt)").arg(s + 1)
            : describeError(EEXIST);
        staying.push_back(k);
    }

    RenamePlan plan;
    plan.moves.reserve(moveByTarget.size());
    for (qsizetype i = 0; i < n; ++i) {
        const int line = int(i + 1);
        if (state[i] == State::Moves)
            plan.moves.append({line, originals.at(i), target[i]});
        else if (state[i] == State::Refused)
            plan.refused.append({line, originals.at(i), target[i], reason[i]});
    }
    return plan;
}

RenameOutcome executeRenames(const RenamePlan& plan, Renamer& renamer,
                             const std::function<void(qsizetype, qsizetype)>& progress)
{
    const QList<PlannedRename>& moves = plan.moves;
    const qsizetype n = moves.size();
    RenameOutcome outcome;
    outcome.previousName.reserve(n);
    QList<RenameProblem> diskFailures;

    // A target that is (up to letter case, for file systems that ignore it)
    // the current name of a moving entry is free only after that entry has
    // left: such moves, case-only changes included, go through a temporary name.
    CaselessNames sources(n);
    for (const PlannedRename& m : moves)
        sources.insert(m.from);
    std::vector<bool> viaTemp(static_cast<size_t>(n));
    qsizetype tempCount = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const bool blocked = sources.contains(moves.at(i).to);
        viaTemp[static_cast<size_t>(i)] = blocked;
        tempCount += blocked;
    }

    const qsizetype total = n + tempCount;
    qsizetype done = 0;
    qsizetype reported = 0;
    auto step = [&](qsizetype count) {
        done += count;
        if (progress && (done - reported >= kProgressEvery || done == total)) {
            reported = done;
            progress(done, total);
        }
    };
    if (progress)
        progress(0, total);

    auto fail = [&](const PlannedRename& m, const QString& why) {
        diskFailures.append({m.line, m.from, m.to, why});
    };

    // Phase 1: move the blocking entries out of the way.
    QList<QString> tempName(n);
    if (tempCount > 0) {
        CaselessNames targets(n);  // temporary names must not take any planned name
        for (const PlannedRename& m : moves)
            targets.insert(m.to);
        // Visible, so that an entry left behind by a crash still shows in the list; short, lower case; the
        // tag keeps two runs apart.
        const QString prefix = QStringLiteral("quillet-tmp-%1-")
                                   .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        quint64 counter = 0;
        for (qsizetype i = 0; i < n; ++i) {
            if (!viaTemp[static_cast<size_t>(i)])
                continue;
            const PlannedRename& m = moves.at(i);
            int err = EEXIST;
            for (int attempt = 0; attempt < kTempNameAttempts && err == EEXIST; ++attempt) {
                QString candidate = prefix + QString::number(counter++);
                if (sources.contains(candidate) || targets.contains(candidate))
                    continue;
                // The no-replace rename itself claims the name: EEXIST means taken, try the next.
                err = renamer.rename(m.from, candidate);
                if (err == 0)
                    tempName[i] = std::move(candidate);
            }
            if (err != 0) {
                fail(m, err == EEXIST ? QStringLiteral("kein freier vorläufiger Name gefunden")
                                      : describeError(err));
                step(2);
            } else {
                step(1);
            }
        }
    }

    // Phase 2: moves onto names that no moving entry holds.
    for (qsizetype i = 0; i < n; ++i) {
        if (viaTemp[static_cast<size_t>(i)])
            continue;
        const PlannedRename& m = moves.at(i);
        const int err = renamer.rename(m.from, m.to);
        if (err == 0) {
            outcome.previousName.insert(m.to, m.from);
            ++outcome.renamed;
        } else {
            fail(m, describeError(err));
        }
        step(1);
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
            outcome.previousName.insert(m.to, m.from);
            ++outcome.renamed;
        } else if (renamer.rename(temp, m.from) == 0) {
            fail(m, describeError(err));
        } else {
            // Neither name could be had: say where the entry is now.
            outcome.previousName.insert(temp, m.from);
            fail(m, describeError(err) + QStringLiteral("; der Eintrag heißt jetzt „%1“").arg(temp));
        }
        step(1);
    }

    outcome.failed = plan.refused + diskFailures;
    std::stable_sort(outcome.failed.begin(), outcome.failed.end(),
                     [](const RenameProblem& a, const RenameProblem& b) { return a.line < b.line; });
    return outcome;
}

QString describeProblems(const QList<RenameProblem>& problems)
{
    if (problems.isEmpty())
        return {};
    QString text = problems.size() == 1
        ? QStringLiteral("1 Eintrag wurde nicht umbenannt:")
        : QStringLiteral("%1 Einträge wurden nicht umbenannt:").arg(problems.size());
    const qsizetype listed = std::min(problems.size(), kMaxListedProblems);
    for (qsizetype i = 0; i < listed; ++i) {
        const RenameProblem& p = problems.at(i);
        text += QStringLiteral("\nZeile %1: „%2“ → „%3“: %4")
                    .arg(QString::number(p.line), visible(p.from), visible(p.to), p.reason);
    }
    if (problems.size() > listed)
        text += QStringLiteral("\n... und %1 weitere").arg(problems.size() - listed);
    return text;
}

}  // namespace names
