#include "transforms/TextCommands.h"

#include "transforms/StringOps.h"

namespace transforms {

bool ReplaceRequest::usesPlaceholder() const
{
    return search.contains(QChar(kPlaceholder)) || replacement.contains(QChar(kPlaceholder));
}

ReplaceResult run(const ReplaceRequest& request, const QString& text)
{
    if (request.search.isEmpty())
        return {text, 0};
    const QString find = expandLineBreakMarks(request.search);
    const QString replacement = expandLineBreakMarks(request.replacement);
    if (request.usesPlaceholder())
        return {ReplaceWithPlaceholder(text, find, replacement, QString(QChar(ReplaceRequest::kPlaceholder)), request.matchCase), 0};
    const PlainReplaceResult plain = replaceAllPlain(text, find, replacement, request.matchCase);
    return {plain.text, plain.count};
}

ReplaceResult runInRange(const ReplaceRequest& request, const QString& text, qsizetype start, qsizetype length)
{
    ReplaceResult result = run(request, text.mid(start, length));
    result.text = text.left(start) + result.text + text.mid(start + length);
    return result;
}

QString run(const AppendRequest& request, const QString& text)
{
    if (request.add.isEmpty())
        return text;
    return appendToLines(text, request.add, request.left);
}

std::optional<QString> run(const CutRequest& request, const QString& text)
{
    const std::optional<qint64> n = parseCutCount(request.count);
    if (!n)
        return std::nullopt;
    return cutLines(text, *n, request.fromLeft);
}

ReplaceResult run(const UnderscoreRequest& request, const QString& text)
{
    const PlainReplaceResult r = request.toBlanks ? replaceAllPlain(text, QStringLiteral("_"), QStringLiteral(" "), true)
                                                  : replaceAllPlain(text, QStringLiteral(" "), QStringLiteral("_"), true);
    return {r.text, r.count};
}

ReplaceResult run(const UmlautRequest& request, const QString& text)
{
    // The way back turns only the umlauts back: the special characters cannot be told from typed ones.
    constexpr qsizetype kUmlautRows = 7;
    const auto& table = umlautTable();
    const qsizetype rows = request.remove ? table.size() : kUmlautRows;
    ReplaceResult result{text, 0};
    for (qsizetype i = 0; i < rows; ++i) {
        const QString& from = request.remove ? table.at(i).first : table.at(i).second;
        const QString& to = request.remove ? table.at(i).second : table.at(i).first;
        PlainReplaceResult r = replaceAllPlain(result.text, from, to, true);
        result.text = std::move(r.text);
        result.count += r.count;
    }
    return result;
}

TrimResult run(const TrimRequest&, const QString& text)
{
    if (text.isEmpty())
        return {text, 0};
    QString trimmed = trimLineBlanks(text);
    const qint64 removed = text.size() - trimmed.size();
    return {std::move(trimmed), removed};
}

QString run(const CaseRequest& request, const QString& text)
{
    return request.toLower ? lowerSameLength(text) : upperSameLength(text);
}

CapitaliseResult run(const CapitaliseRequest&, const QString& text)
{
    return capitaliseWords(text);
}

QString run(const NumberingRequest& request, const QString& text)
{
    return numberLines(text, request.entries, request.progress);
}

int NumberRemovalRequest::width() const
{
    return int(numberWidth(entries));
}

bool NumberRemovalRequest::looksRight(const QString& text) const
{
    return numberingLooksRight(text, entries);
}

QString run(const NumberRemovalRequest& request, const QString& text)
{
    return removeNumbers(text, request.entries, request.progress);
}

}  // namespace transforms
