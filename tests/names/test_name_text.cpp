// The name text built from the listed names: one display name per line, CR LF between lines.
#include "names/NameText.h"

#include <gtest/gtest.h>

using names::buildNameText;

TEST(BuildNameText, DisplayNamesJoinedWithoutATrailingLineEnd)
{
    EXPECT_EQ(buildNameText({}), QString());
    EXPECT_EQ(buildNameText({QStringLiteral("song.mp3")}), QStringLiteral("song"));
    // Only a three-character extension goes; ".abc" leaves an empty line, short names stay whole.
    EXPECT_EQ(buildNameText({QStringLiteral("a.mp3"), QStringLiteral(".abc"), QStringLiteral("x.jpeg"), QStringLiteral("a.b"),
                             QStringLiteral("abc"), QStringLiteral("archive.tar.gz"), QStringLiteral("ä\U0001F600.txt")}),
              QStringLiteral("a\r\n\r\nx.jpeg\r\na.b\r\nabc\r\narchive.tar.gz\r\nä\U0001F600"));
    EXPECT_EQ(buildNameText({QStringLiteral(".abc"), QStringLiteral(".abc")}), QStringLiteral("\r\n"));
    EXPECT_EQ(names::lineCount(buildNameText({QStringLiteral(".abc"), QStringLiteral(".abc")})), 2);
}
