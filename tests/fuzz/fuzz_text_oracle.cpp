// The fast text tools against the slow step-by-step transcriptions of the tests, on short texts; those
// that count code points only on texts without surrogates (the transcriptions count UTF-16 units).
#include "Fuzz.h"

#include "transforms/LineTools.h"
#include "transforms/StringOps.h"
#include "transforms/oracle.h"

using namespace transforms;

namespace {

// The transcriptions rebuild the whole text at every step: keep them quick.
constexpr qsizetype kMaxText = 256;
constexpr qint64 kMaxCount = 130;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Fields in(data, size);
    const bool matchCase = in.flag(0);
    const bool left = in.flag(1);
    const QString find = in.next(16);
    const QString repl = in.next(16);
    const QString ph = in.flag(2) ? in.next(4) : QStringLiteral("*");
    const QString text = in.rest();
    if (text.size() > kMaxText || in.count > kMaxCount || in.count < -2)
        return -1;  // not added to the corpus
    const qint64 c = in.count;

    // With case kept, both replace procedures work on UTF-16 units like the transcriptions, so halves
    // of surrogate pairs are compared too.
    bool surrogates = false;
    for (const QString* s : {&find, &repl, &ph, &text})
        surrogates = surrogates || fuzz::hasSurrogate(*s);
    if (!find.isEmpty() && (matchCase || !surrogates)) {
        FUZZ_CHECK(ReplaceText(text, find, repl, matchCase) == oracle::replaceText(text, find, repl, matchCase));
        const PlainReplaceResult fast = replaceAllPlain(text, find, repl, matchCase);
        const oracle::Plain slow = oracle::plainReplace(text, find, repl, matchCase, false);
        FUZZ_CHECK(!slow.guardHit && fast.text == slow.text && fast.count == slow.count);
    }
    if (surrogates)
        return 0;

    FUZZ_CHECK(expandLineBreakMarks(find) == oracle::expandMarks(find));
    FUZZ_CHECK(ReplaceWithPlaceholder(text, find, repl, ph, matchCase)
               == oracle::replaceWithPlaceholder(text, find, repl, ph, matchCase));
    const QString upFind = matchCase ? find : upperSameLength(find);
    const QString seg = text.left(find.size());
    const QString follow = text.mid(find.size(), 4);
    FUZZ_CHECK(MatchSegment(seg, upFind, repl, ph, follow, matchCase)
               == oracle::matchSegment(seg, upFind, repl, ph, follow, matchCase));

    if (!repl.isEmpty())
        FUZZ_CHECK(appendToLines(text, repl, left) == oracle::appendToLines(text, repl, left));
    FUZZ_CHECK(cutLines(text, std::max<qint64>(c, 1), left) == oracle::cutLines(text, std::max<qint64>(c, 1), left));
    FUZZ_CHECK(trimLineBlanks(text) == oracle::trimLineBlanks(text));

    FUZZ_CHECK(numberLines(text, c) == oracle::numberLines(text, c, true));
    FUZZ_CHECK(numberingLooksRight(text, c) == oracle::checkNumbering(text, c, {}));
    FUZZ_CHECK(removeNumbers(text, c) == oracle::removeNumbers(text, c, {}));

    const CapitaliseResult fast = capitaliseWords(text);
    const std::optional<QString> slow = oracle::capitalise(text);
    FUZZ_CHECK(fast.overflow == !slow.has_value());
    if (slow)
        FUZZ_CHECK(fast.text == *slow);
    return 0;
}
