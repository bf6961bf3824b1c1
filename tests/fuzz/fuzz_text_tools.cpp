// The name text tools on any search text, replacement, placeholder, box text, list entries and name text:
// what must hold whatever they do in detail (lengths, line counts, what is left over, progress figures).
#include "Fuzz.h"

#include "transforms/LineTools.h"
#include "transforms/StringOps.h"
#include "transforms/TextCommands.h"

#include <QStringList>

using namespace transforms;
using fuzz::wellFormed;

namespace {

// Lines the shared line walk sees: every CR before the last character ends one.
qsizetype walkedLines(const QString& t)
{
    return t.isEmpty() ? 0 : QStringView(t).left(t.size() - 1).count(u'\r') + 1;
}

// The line count of a per-line tool's result: one CR LF between lines, no more, no fewer.
void checkPerLine(const QString& in, const QString& out, const QString& added = {})
{
    if (in.isEmpty())
        FUZZ_CHECK(out.isEmpty());
    else
        FUZZ_CHECK(out.count(QStringLiteral("\r\n")) == walkedLines(in) - 1);
    if (wellFormed(in) && wellFormed(added))
        FUZZ_CHECK(wellFormed(out));
}

void checkCase(const QString& text)
{
    const QString up = upperSameLength(text);
    const QString low = lowerSameLength(text);
    FUZZ_CHECK(up.size() == text.size() && low.size() == text.size());
    FUZZ_CHECK(upperSameLength(up) == up);
    FUZZ_CHECK(!wellFormed(text) || (wellFormed(up) && wellFormed(low)));
}

void checkReplace(const QString& text, const QString& find, const QString& repl, const QString& ph, bool mc)
{
    const QString folded = mc ? text : upperSameLength(text);
    const QString foldedFind = mc ? find : upperSameLength(find);
    const bool occurs = !find.isEmpty() && folded.contains(foldedFind);
    const bool sound = wellFormed(text) && wellFormed(find) && wellFormed(repl);

    const QString literal = ReplaceText(text, find, repl, mc);
    if (!occurs)
        FUZZ_CHECK(literal == text);
    else if (repl.size() != find.size())
        FUZZ_CHECK((literal.size() - text.size()) % (repl.size() - find.size()) == 0);
    else
        FUZZ_CHECK(literal.size() == text.size());
    FUZZ_CHECK(!sound || wellFormed(literal));

    const PlainReplaceResult plain = replaceAllPlain(text, find, repl, mc);
    FUZZ_CHECK((plain.count > 0) == occurs);
    FUZZ_CHECK(plain.count * find.size() <= text.size());
    FUZZ_CHECK(plain.text.size() == text.size() + plain.count * (repl.size() - find.size()));
    FUZZ_CHECK(!sound || wellFormed(plain.text));

    const QString withPh = ReplaceWithPlaceholder(text, find, repl, ph, mc);
    if (!find.isEmpty() && !find.contains(ph) && !occurs)
        FUZZ_CHECK(withPh == text);
    if (sound && wellFormed(ph))
        FUZZ_CHECK(wellFormed(withPh));
    MatchSegment(text.left(find.size()), foldedFind, repl, ph, text.mid(find.size(), 8), mc);

    const QString marks = expandLineBreakMarks(find);
    FUZZ_CHECK(marks.size() == find.size());
}

void checkLineTools(const QString& text, const QString& add, const QString& countText, qint64 count, bool left)
{
    const QString appended = appendToLines(text, add, left);
    if (add.isEmpty())
        FUZZ_CHECK(appended == text);
    else if (!add.contains(u'\r') && !add.contains(u'\n'))
        checkPerLine(text, appended, add);

    if (const std::optional<qint64> n = parseCutCount(countText))
        FUZZ_CHECK(*n >= 1);
    if (count >= 1)
        FUZZ_CHECK(parseCutCount(QString::number(count)) == count);
    // A line end becomes CR LF; a CR right behind a CR is a line end of its own, so "\r\r\n" grows by one.
    const qsizetype longest = text.size() + text.count(u'\r');
    const QString cut = cutLines(text, count, left);
    if (count <= 0) {
        FUZZ_CHECK(cut == text);
    } else {
        checkPerLine(text, cut);
        FUZZ_CHECK(cut.size() <= longest);
    }

    const QString trimmed = trimLineBlanks(text);
    checkPerLine(text, trimmed);
    FUZZ_CHECK(trimmed.size() <= longest);
    FUZZ_CHECK(trimLineBlanks(trimmed) == trimmed);
}

void checkNumbering(const QString& text, qint64 c)
{
    qint64 calls = 0;
    qint64 lastDone = 0;
    bool sane = true;
    const auto progress = [&](qint64 done, qint64 total) {
        sane = sane && total == c && done == lastDone + 1;
        lastDone = done;
        ++calls;
    };
    const qint64 mostCalls = c > 1 ? c - 1 : 0;
    const QString numbered = numberLines(text, c, progress);
    FUZZ_CHECK(sane && calls <= mostCalls);
    FUZZ_CHECK(calls <= text.count(QStringLiteral("\r\n")));
    FUZZ_CHECK(numbered.startsWith(numberText(1, c)));
    // From line 1000 on the number no longer fits the "XXX-" form the check expects.
    if (c < 1000)
        FUZZ_CHECK(numberingLooksRight(numbered, c));
    FUZZ_CHECK(!wellFormed(text) || wellFormed(numbered));

    calls = lastDone = 0;
    const QString removed = removeNumbers(text, c, progress);
    FUZZ_CHECK(sane && calls <= mostCalls);
    FUZZ_CHECK(removed.size() <= text.size());
    FUZZ_CHECK(!wellFormed(text) || wellFormed(removed));
    numberingLooksRight(text, c);
}

void checkCapitalise(const QString& text)
{
    const CapitaliseResult r = capitaliseWords(text);
    FUZZ_CHECK(r.text.size() == text.size());
    const bool oneSeparator = !text.isEmpty() && QStringLiteral(" .-_[<;=(&#").contains(text[0])
                              && text.count(text[0]) == text.size();
    FUZZ_CHECK(r.overflow == (text.isEmpty() || text == QLatin1String("\r") || oneSeparator));
    if (r.overflow)
        FUZZ_CHECK(r.text == upperSameLength(text.left(1)) + text.mid(1));
    FUZZ_CHECK(!wellFormed(text) || wellFormed(r.text));
}

void checkCdPrefix(const QString& box, const QStringList& entries, const QString& combo)
{
    const QString result = addCdPrefix(box, entries, combo);
    bool anyContained = false;
    for (const QString& e : entries)
        anyContained = anyContained || (!e.isEmpty() && box.contains(e));
    if (box.isEmpty())
        FUZZ_CHECK(result == combo);
    else if (!anyContained)
        FUZZ_CHECK(result == combo + box);
}

void checkCommands(const QString& text, const QString& search, const QString& repl, qint64 count, bool flag)
{
    const ReplaceRequest replace{search, repl, flag};
    const ReplaceResult replaced = run(replace, text);
    if (search.isEmpty() || replace.usesPlaceholder())
        FUZZ_CHECK(replaced.count == 0);
    else
        FUZZ_CHECK(replaced.text
                   == replaceAllPlain(text, expandLineBreakMarks(search), expandLineBreakMarks(repl), flag).text);

    const ReplaceResult blanks = run(UnderscoreRequest{flag}, text);
    const QChar gone = flag ? u'_' : u' ';
    FUZZ_CHECK(blanks.text.size() == text.size() && !blanks.text.contains(gone) && blanks.count == text.count(gone));

    const ReplaceResult plain = run(UmlautRequest{true}, text);
    for (const QChar c : QStringLiteral("äöüßÄÖÜ?!,#"))
        FUZZ_CHECK(!plain.text.contains(c));
    run(UmlautRequest{false}, plain.text);

    const TrimResult trimmed = run(TrimRequest{}, text);
    FUZZ_CHECK(trimmed.removed == text.size() - trimmed.text.size());
    FUZZ_CHECK(run(CaseRequest{flag}, text).size() == text.size());
    run(CapitaliseRequest{}, text);
    if (std::optional<QString> cut = run(CutRequest{repl, flag}, text))
        FUZZ_CHECK(cut->size() <= text.size() + text.count(u'\r'));

    const NumberRemovalRequest removal{count, {}};
    FUZZ_CHECK(removal.width() == (count >= 100 ? 4 : 3));
    const QString numbered = run(NumberingRequest{count, {}}, text);
    if (count < 1000)
        FUZZ_CHECK(removal.looksRight(numbered));
    FUZZ_CHECK(run(removal, numbered).size() <= numbered.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Fields in(data, size);
    const bool matchCase = in.flag(0);
    const bool left = in.flag(1);
    const QString find = in.next();
    const QString repl = in.next();
    const QString placeholder = in.flag(2) ? in.next(8) : QStringLiteral("*");
    const QString box = in.next();
    const QStringList entries = in.next().split(u'|');
    const QString text = in.rest();

    checkCase(text);
    checkReplace(text, find, repl, placeholder, matchCase);
    checkLineTools(text, repl, find, in.count, left);
    checkNumbering(text, in.count);
    checkCapitalise(text);
    checkCdPrefix(box, entries, repl);
    checkCommands(text, find, repl, in.count, matchCase);
    return 0;
}
