#include "names/RenamePlan.h"

#include "names/DirectoryScan.h"
#include "names/NameRules.h"
#include "names/NameTable.h"

#include <QFile>

#include <algorithm>
#include <optional>
#include <vector>

namespace names {

namespace {

constexpr qsizetype kMaxNameBytes = 255;

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

}  // namespace names
