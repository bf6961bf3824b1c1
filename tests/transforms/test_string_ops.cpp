#include "oracle.h"

#include "transforms/StringOps.h"
#include "transforms/TextCommands.h"

#include <gtest/gtest.h>

using namespace transforms;
using oracle::pick;
using oracle::randomText;
using oracle::kEmoji;

namespace {

// Short alphabets make occurrences overlap and run into each other.
const QStringList kText{u"a"_qs, u"b"_qs, u"A"_qs, u"*"_qs, u"_"_qs, u" "_qs, u"\r\n"_qs, u"ä"_qs, u"ß"_qs, u"Ä"_qs};
const QStringList kPattern{u"a"_qs, u"A"_qs, u"b"_qs, u"*"_qs, u"_"_qs, u"\r\n"_qs, u"ä"_qs, u"Ä"_qs, u"ß"_qs};

TEST(StringOpsOracle, ReplaceTextAndPlainReplaceFollowTheStepByStepLoops)
{
    oracle::rng().seed(1);
    int abandoned = 0;
    for (int run = 0; run < 4000; ++run) {
        const QString text = randomText(kText, 14);
        const QString find = randomText(kPattern, 3);
        const QString repl = pick(0, 2) ? randomText(kPattern, 3) : QString();
        const bool mc = pick(0, 1);
        if (find.isEmpty())
            continue;
        ASSERT_EQ(ReplaceText(text, find, repl, mc), oracle::replaceText(text, find, repl, mc))
            << qPrintable(text) << " / " << qPrintable(find) << " / " << qPrintable(repl);

        const PlainReplaceResult fast = replaceAllPlain(text, find, repl, mc);
        const oracle::Plain literal = oracle::plainReplace(text, find, repl, mc, true);
        const oracle::Plain mended = oracle::plainReplace(text, find, repl, mc, false);
        ASSERT_FALSE(mended.guardHit);
        ASSERT_EQ(std::make_pair(fast.text, fast.count), std::make_pair(mended.text, mended.count));
        if (literal.abandoned) {
            ++abandoned;
            ASSERT_TRUE(repl.isEmpty());
        } else {
            ASSERT_EQ(std::make_pair(fast.text, fast.count), std::make_pair(literal.text, literal.count));
        }
    }
    EXPECT_GT(abandoned, 20);  // the mended case was really exercised
}

TEST(StringOpsOracle, PlaceholderReplaceFollowsTheStepByStepAlgorithm)
{
    oracle::rng().seed(2);
    for (int run = 0; run < 6000; ++run) {
        const QString text = randomText(kText, 14);
        const QString find = randomText(kPattern, 4);
        const QString repl = randomText(kPattern, 5);
        const bool mc = pick(0, 1);
        // Mostly "*"; a letter as placeholder is dropped from the text in any case.
        const QString ph = QStringList{u"*"_qs, u"*"_qs, u"*"_qs, u"a"_qs, u"ß"_qs}[pick(0, 4)];
        ASSERT_EQ(ReplaceWithPlaceholder(text, find, repl, ph, mc), oracle::replaceWithPlaceholder(text, find, repl, ph, mc))
            << qPrintable(text) << " / " << qPrintable(find) << " / " << qPrintable(repl) << " mc=" << mc;

        const QString seg = randomText(kText, 4), follow = randomText(kText, 3);
        const QString upFind = mc ? find : upperSameLength(find);
        ASSERT_EQ(MatchSegment(seg, upFind, repl, ph, follow, mc), oracle::matchSegment(seg, upFind, repl, ph, follow, mc));
    }
}

TEST(StringOpsOracle, LineBreakMarksAsTheCommandConvertsThem)
{
    oracle::rng().seed(3);
    const QStringList tokens{u"^P"_qs, u"^p"_qs, u"^"_qs, u"p"_qs, u"P"_qs, u"x"_qs};
    for (int run = 0; run < 2000; ++run) {
        const QString box = randomText(tokens, 8);
        ASSERT_EQ(expandLineBreakMarks(box), oracle::expandMarks(box)) << qPrintable(box);
    }
}

TEST(StringOps, CaseMappingKeepsLength)
{
    EXPECT_EQ(upperSameLength(u"straße äöü"_qs), u"STRAßE ÄÖÜ"_qs);
    EXPECT_EQ(lowerSameLength(u"STRAßE ÄÖÜ"_qs), u"straße äöü"_qs);
    const QString deseretLower = QString::fromUcs4(U"\U00010428x");
    EXPECT_EQ(upperSameLength(deseretLower), QString::fromUcs4(U"\U00010400X"));
    // Capitalising relies on this: upper-casing twice changes nothing more.
    QString all;
    for (char32_t c = 0; c <= 0x10FFFF; ++c)
        if (!QChar::isSurrogate(c))
            all += QString::fromUcs4(&c, 1);
    EXPECT_EQ(upperSameLength(upperSameLength(all)), upperSameLength(all));
    EXPECT_EQ(upperSameLength(all).size(), all.size());
    EXPECT_EQ(lowerSameLength(all).size(), all.size());

    const QString lone = QString(QChar(0xD83D)) + u"a"_qs;
    EXPECT_EQ(upperSameLength(lone), QString(QChar(0xD83D)) + u"A"_qs);
}

TEST(StringOps, EmojiSurvivesAndPlaceholderTakesItWhole)
{
    EXPECT_EQ(ReplaceWithPlaceholder(u"a"_qs + kEmoji + u"b"_qs, u"a*"_qs, u"x*"_qs, u"*"_qs, false),
              u"x"_qs + kEmoji + u"b"_qs);
    // The following character goes with the first match and is skipped.
    EXPECT_EQ(ReplaceWithPlaceholder(kEmoji + kEmoji, u"*"_qs, u"-"_qs, u"*"_qs, false), u"-"_qs + kEmoji);
    EXPECT_EQ(ReplaceWithPlaceholder(kEmoji + u"ab"_qs + kEmoji, u"*"_qs, u"-"_qs, u"*"_qs, false), u"-ab-"_qs);
    EXPECT_EQ(ReplaceWithPlaceholder(kEmoji + u"b"_qs, u"*b"_qs, u"*X"_qs, u"*"_qs, false), kEmoji + u"X"_qs);
    EXPECT_EQ(MatchSegment(u"a"_qs, u"A"_qs, u"a**"_qs, u"*"_qs, kEmoji + u"c"_qs, false), u"a"_qs + kEmoji + u"c"_qs);
    // A placeholder takes the following character by its position; the
    // rest of the following text is put back from the count of placeholders.
    EXPECT_EQ(MatchSegment(u"a"_qs, u"A"_qs, u"ax*"_qs, u"*"_qs, u"bc"_qs, false), u"axcc"_qs);
}

// A replacement's result as one value: the text and how many replacements it counted.
QString counted(const ReplaceResult& r) { return r.text + u" #"_qs + QString::number(r.count); }

TEST(TextCommands, ReplaceTakesLineBreakMarksAndThePlaceholderAsTyped)
{
    const QString text = QStringLiteral("a b\r\nc b");
    EXPECT_EQ(counted(run(ReplaceRequest{"^p", " + ", false}, text)), "a b + c b #1");
    EXPECT_EQ(run(ReplaceRequest{" + ", "^P", false}, QStringLiteral("a b + c b")).text, text);
    // Without "mach case" both sides compare in upper case; with it they must match.
    EXPECT_EQ(counted(run(ReplaceRequest{"B", "x", false}, text)), "a x\r\nc x #2");
    EXPECT_EQ(counted(run(ReplaceRequest{"B", "x", true}, text)), text + " #0");
    // The placeholder keeps the text's own character; its replacements are not counted.
    EXPECT_EQ(counted(run(ReplaceRequest{"a*b", "*-*", false}, QStringLiteral("a b"))), "a-b #0");
    EXPECT_EQ(run(ReplaceRequest{"", "x", false}, text).text, text);
    // In a selection: only what lies inside it, a line break mark included.
    EXPECT_EQ(counted(runInRange(ReplaceRequest{"b^p", "-", false}, QStringLiteral("b\r\nb\r\nb\r\nb"), 3, 4)), "b\r\n-b\r\nb #1");
    EXPECT_EQ(runInRange(ReplaceRequest{"b", "x", false}, QStringLiteral("bbbb"), 1, 2).text, "bxxb");
}

TEST(TextCommands, BatchAndLineCommandsAndTheirFigures)
{
    EXPECT_EQ(counted(run(UnderscoreRequest{true}, QStringLiteral("a_b__c"))), "a b  c #3");
    EXPECT_EQ(run(UnderscoreRequest{false}, QStringLiteral("a b  c")).text, "a_b__c");
    EXPECT_EQ(counted(run(UmlautRequest{true}, QStringLiteral("Äpfel, Öl & Süßes!?"))), "Aepfel- Oel & Suesses #7");
    // The way back knows only the umlauts: "ss" turns into "ß" as well.
    EXPECT_EQ(run(UmlautRequest{false}, QStringLiteral("Aepfel Suesses")).text, "Äpfel Süßes");

    EXPECT_EQ(run(AppendRequest{"x-", true}, QStringLiteral("a\r\nb")), "x-a\r\nx-b");
    EXPECT_EQ(run(AppendRequest{"", true}, QStringLiteral("a")), "a");
    EXPECT_EQ(run(CutRequest{"1,7", true}, QStringLiteral("abc\r\nd")), "bc\r\nd");
    EXPECT_FALSE(run(CutRequest{"0", true}, QStringLiteral("abc")) || run(CutRequest{"x", false}, QStringLiteral("abc")));
    const TrimResult t = run(TrimRequest{}, QStringLiteral("  a \r\nb "));
    EXPECT_EQ(t.text + u" #"_qs + QString::number(t.removed), "a\r\nb #4");
    EXPECT_EQ(run(CaseRequest{false}, QStringLiteral("straße")), "STRAßE");

    // The number width changes at 100 entries, in numbering and in its removal alike.
    const NumberRemovalRequest large{100, {}};
    EXPECT_EQ(std::make_pair(NumberRemovalRequest{99, {}}.width(), large.width()), std::make_pair(3, 4));
    const QString numbered = run(NumberingRequest{100, {}}, QStringLiteral("a\r\nb"));
    EXPECT_EQ(numbered, "001-a\r\n002-b");
    EXPECT_TRUE(large.looksRight(numbered));
    EXPECT_EQ(run(large, numbered), "a\r\nb");
}

}  // namespace
