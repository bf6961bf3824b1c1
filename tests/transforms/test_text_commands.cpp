#include "transforms/TextCommands.h"

#include <gtest/gtest.h>

using namespace transforms;

namespace {

TEST(TextCommands, ReplaceTakesLineBreakMarksAndThePlaceholderAsTyped)
{
    const QString text = QStringLiteral("a b\r\nc b");
    ReplaceResult r = run(ReplaceRequest{"^p", " + ", false}, text);
    EXPECT_EQ(r.text, "a b + c b");
    EXPECT_EQ(r.count, 1);
    r = run(ReplaceRequest{" + ", "^P", false}, r.text);
    EXPECT_EQ(r.text, text);

    // Without "mach case" both sides compare in upper case; with it they must match.
    EXPECT_EQ(run(ReplaceRequest{"B", "x", false}, text).count, 2);
    EXPECT_EQ(run(ReplaceRequest{"B", "x", true}, text).count, 0);

    // The placeholder keeps the text's own character; its replacements are not counted.
    r = run(ReplaceRequest{"a*b", "*-*", false}, QStringLiteral("a b"));
    EXPECT_EQ(r.text, "a-b");
    EXPECT_EQ(r.count, 0);
    EXPECT_EQ(run(ReplaceRequest{"", "x", false}, text).text, text);

    // In a selection: only what lies inside it, a line break mark included.
    r = runInRange(ReplaceRequest{"b^p", "-", false}, QStringLiteral("b\r\nb\r\nb\r\nb"), 3, 4);
    EXPECT_EQ(r.text, "b\r\n-b\r\nb");
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(runInRange(ReplaceRequest{"b", "x", false}, QStringLiteral("bbbb"), 1, 2).text, "bxxb");
}

TEST(TextCommands, BatchCommandsReplaceWithoutTheSearchBoxes)
{
    ReplaceResult r = run(UnderscoreRequest{true}, QStringLiteral("a_b__c"));
    EXPECT_EQ(r.text, "a b  c");
    EXPECT_EQ(r.count, 3);
    EXPECT_EQ(run(UnderscoreRequest{false}, r.text).text, "a_b__c");

    r = run(UmlautRequest{true}, QStringLiteral("Äpfel, Öl & Süßes!?"));
    EXPECT_EQ(r.text, "Aepfel- Oel & Suesses");
    EXPECT_EQ(r.count, 7);
    // The way back knows only the umlauts: "ss" turns into "ß" as well.
    EXPECT_EQ(run(UmlautRequest{false}, QStringLiteral("Aepfel Suesses")).text, "Äpfel Süßes");
}

TEST(TextCommands, LineCommandsAndTheirFigures)
{
    EXPECT_EQ(run(AppendRequest{"x-", true}, QStringLiteral("a\r\nb")), "x-a\r\nx-b");
    EXPECT_EQ(run(AppendRequest{"", true}, QStringLiteral("a")), "a");
    EXPECT_EQ(run(CutRequest{"1,7", true}, QStringLiteral("abc\r\nd")), "bc\r\nd");
    EXPECT_FALSE(run(CutRequest{"0", true}, QStringLiteral("abc")).has_value());
    EXPECT_FALSE(run(CutRequest{"x", false}, QStringLiteral("abc")).has_value());

    const TrimResult t = run(TrimRequest{}, QStringLiteral("  a \r\nb "));
    EXPECT_EQ(t.text, "a\r\nb");
    EXPECT_EQ(t.removed, 4);
    EXPECT_EQ(run(CaseRequest{false}, QStringLiteral("straße")), "STRAßE");

    // The number width changes at 100 entries, in numbering and in its removal alike.
    const NumberRemovalRequest small{99, {}};
    const NumberRemovalRequest large{100, {}};
    EXPECT_EQ(small.width(), 3);
    EXPECT_EQ(large.width(), 4);
    const QString numbered = run(NumberingRequest{100, {}}, QStringLiteral("a\r\nb"));
    EXPECT_EQ(numbered, "001-a\r\n002-b");
    EXPECT_TRUE(large.looksRight(numbered));
    EXPECT_EQ(run(large, numbered), "a\r\nb");
}

}  // namespace
