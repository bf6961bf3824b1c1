#include "oracle.h"
#include "support/TestSupport.h"

#include "transforms/LineTools.h"
#include "transforms/StringOps.h"

using namespace transforms;
using oracle::kEmoji;
using oracle::pick;
using oracle::randomText;
using testsupport::crlf;

namespace {

// Numbered-looking, blank, short and empty lines; now and then a lone CR or LF for the line walk's corners.
QString randomLines(int maxLines, bool strayBreaks)
{
    static const QStringList parts{u"0"_qs, u"1"_qs, u"-"_qs, u"a"_qs, u" "_qs, u"ä"_qs, u"ab"_qs};
    QStringList l;
    for (int i = pick(1, maxLines); i > 0; --i)
        l << randomText(parts, 6);
    QString t = l.join(u"\r\n"_qs);
    if (strayBreaks && pick(0, 2) == 0)
        t.insert(pick(0, int(t.size())), pick(0, 1) ? u'\r' : u'\n');
    return t;
}

TEST(LineToolsOracle, LineWalkToolsFollowTheStepByStepWalk)
{
    oracle::rng().seed(11);
    for (int run = 0; run < 4000; ++run) {
        const QString text = randomLines(5, true);
        const QString add = randomText({u"x"_qs, u" "_qs, u"\r\n"_qs}, 2);
        const bool left = pick(0, 1);
        const qint64 n = pick(1, 4);
        ASSERT_EQ(appendToLines(text, add, left), add.isEmpty() ? text : oracle::appendToLines(text, add, left));
        ASSERT_EQ(cutLines(text, n, left), oracle::cutLines(text, n, left)) << qPrintable(text);
        ASSERT_EQ(trimLineBlanks(text), oracle::trimLineBlanks(text));
    }
}

TEST(LineToolsOracle, NumberingAndRemovalFollowTheStepByStepLoops)
{
    oracle::rng().seed(12);
    int unmendedAgreed = 0;
    for (int run = 0; run < 4000; ++run) {
        const bool wide = pick(0, 9) == 0;
        const QString text = randomLines(wide ? 120 : 6, false);
        const qint64 lineCount = text.count(u"\r\n"_qs) + 1;
        const qint64 c = wide ? pick(100, 125) : pick(0, int(lineCount) + 1);

        ASSERT_EQ(numberLines(text, c), oracle::numberLines(text, c, true)) << qPrintable(text) << " c=" << c;
        if (lineCount >= c) {  // the mend only matters with fewer lines than c
            ASSERT_EQ(numberLines(text, c), oracle::numberLines(text, c, false));
        }

        const QString numbered = numberLines(text, c);
        ASSERT_TRUE(numberingLooksRight(numbered, c));
        for (const QString& t : {text, numbered}) {
            ASSERT_EQ(numberingLooksRight(t, c), oracle::checkNumbering(t, c, {}));
            const QString fast = removeNumbers(t, c);
            ASSERT_EQ(fast, oracle::removeNumbers(t, c, {})) << qPrintable(t) << " c=" << c;
            const QString unmended = oracle::removeNumbers(t, c, {false, false, false, false});
            // Without short lines and with enough of them, the mends change nothing.
            const QStringList l = t.split(u"\r\n"_qs);
            const qsizetype width = c > 99 ? 4 : 3;
            bool plain = l.size() >= c && l[0].size() >= width && (c < 3 || !l[0].mid(width).startsWith(u' '));
            for (qsizetype k = 1; plain && k < std::min<qsizetype>(c, l.size()); ++k)
                plain = l[k].size() >= width && (k == c - 1 || !l[k].mid(width).trimmed().isEmpty());
            if (plain) {
                ++unmendedAgreed;
                ASSERT_EQ(fast, unmended) << qPrintable(t);
            }
        }
    }
    EXPECT_GT(unmendedAgreed, 300);
}

TEST(LineToolsOracle, CapitalisingFollowsTheStepByStepPasses)
{
    oracle::rng().seed(13);
    const QStringList tokens{u"a"_qs,  u"ä"_qs, u"ß"_qs, u" "_qs,     u"."_qs,  u"-"_qs,   u"_"_qs,   u"["_qs,
                             u"<"_qs,  u";"_qs, u"="_qs, u"("_qs,     u"&"_qs,  u"#"_qs,   u"\r\n"_qs, u"\r"_qs,
                             u"cd"_qs, u"Mp3"_qs, u"dvd"_qs, u"[hs]"_qs, u"[Hb]"_qs, u"x"_qs, u"1"_qs};
    int overflows = 0;
    for (int run = 0; run < 5000; ++run) {
        QString text = randomText(tokens, 10);
        if (pick(0, 20) == 0)
            text = QString(pick(1, 5), QChar(u" .-_[<;=(&#"[pick(0, 10)]));
        const CapitaliseResult fast = capitaliseWords(text);
        const std::optional<QString> slow = oracle::capitalise(text);
        ASSERT_EQ(fast.overflow, !slow.has_value()) << qPrintable(text);
        if (slow) {
            ASSERT_EQ(fast.text, *slow) << qPrintable(text);
        } else {
            ++overflows;
            ASSERT_EQ(fast.text, upperSameLength(text.left(1)) + text.mid(1));
        }
    }
    EXPECT_GT(overflows, 100);
}

// What the generated texts never reach: wide numbers, progress, texts longer than 16-bit positions.
TEST(LineTools, BeyondTheGeneratedTextsCutCountsAndCdPrefixes)
{
    EXPECT_EQ(numberText(1000, 1200), u"1000-"_qs);
    EXPECT_EQ(numberText(123456789012LL, 123456789012LL), u"123456789012-"_qs);
    std::vector<std::pair<qint64, qint64>> calls;
    numberLines(crlf({"a", "b", "c", "d"}), 3, [&](qint64 done, qint64 total) { calls.emplace_back(done, total); });
    EXPECT_EQ(calls, (std::vector<std::pair<qint64, qint64>>{{1, 3}, {2, 3}}));
    const CapitaliseResult r = capitaliseWords(u"ab "_qs.repeated(20000) + u"zz"_qs);
    EXPECT_TRUE(!r.overflow && r.text.endsWith(u"Ab Zz"_qs));

    EXPECT_EQ(std::make_pair(parseCutCount(u" 2.9 "_qs), parseCutCount(u"12"_qs)), std::make_pair(std::optional<qint64>(2), std::optional<qint64>(12)));
    for (const QString& bad : {u"0"_qs, u"-3"_qs, u"abc"_qs, QString(), u"0,5"_qs, u"3x"_qs, u"1,2,3"_qs})
        EXPECT_FALSE(parseCutCount(bad).has_value()) << qPrintable(bad);
    QStringList entries;
    for (int i = 1; i <= 9; ++i)
        entries << u"CD%1-"_qs.arg(i);
    EXPECT_EQ(addCdPrefix({}, entries, u"CD3-"_qs), u"CD3-"_qs);
    EXPECT_EQ(addCdPrefix(u"CD2- Live"_qs, entries, u"CD3-"_qs), u"CD3- Live"_qs);
    EXPECT_EQ(addCdPrefix(u"Live"_qs, entries, u"CD3-"_qs), u"CD3-Live"_qs);
}

TEST(LineTools, EmojiSurvivesEveryLineTool)
{
    const QString e = kEmoji;
    EXPECT_EQ(cutLines(e + u"ab"_qs, 1, true), u"ab"_qs);
    EXPECT_EQ(cutLines(u"ab"_qs + e, 1, false), u"ab"_qs);
    EXPECT_EQ(cutLines(e + u"\r\nab"_qs, 1, false), e + u"\r\na"_qs);  // one character: stays
    EXPECT_EQ(appendToLines(u"a\r"_qs + e, u"x"_qs, false), u"ax\r\nx"_qs);  // lone CR skips the whole pair
    EXPECT_EQ(trimLineBlanks(u" "_qs + e + u" "_qs), e);
    EXPECT_EQ(capitaliseWords(e + u" x-"_qs + e).text, e + u" X-"_qs + e);
    EXPECT_EQ(removeNumbers(e + e + u"ab\r\n02-"_qs + e, 2), u"b\r\n"_qs + e);
    EXPECT_EQ(numberLines(e + u"\r\n "_qs + e, 2), u"01-"_qs + e + u"\r\n02-"_qs + e);
    EXPECT_EQ(addCdPrefix(e, {u"CD1-"_qs}, u"CD1-"_qs), u"CD1-"_qs + e);

    // Every tool on texts with pairs, lone CRs and CR LFs keeps each pair whole.
    oracle::rng().seed(14);
    const QStringList tokens{e, u"a"_qs, u" "_qs, u"-"_qs, u"*"_qs, u"\r\n"_qs, u"\r"_qs, u"cd"_qs};
    for (int run = 0; run < 3000; ++run) {
        const QString t = randomText(tokens, 10), find = randomText(tokens, 3), repl = randomText(tokens, 4);
        const qint64 c = pick(0, 4), n = pick(1, 3);
        const bool mc = c % 2;
        for (const QString& r : {appendToLines(t, e, mc), cutLines(t, n, mc), trimLineBlanks(t), numberLines(t, c),
                                 removeNumbers(t, c), capitaliseWords(t).text,
                                 ReplaceWithPlaceholder(t, find, repl, u"*"_qs, mc), ReplaceText(t, find + u"a"_qs, repl, mc),
                                 replaceAllPlain(t, find + u"a"_qs, repl, mc).text})
            ASSERT_TRUE(oracle::wellFormed(r)) << qPrintable(t);
        ASSERT_EQ(ReplaceWithPlaceholder(t, u"q"_qs, u"*"_qs, u"*"_qs, false), t);
    }
}

}  // namespace
