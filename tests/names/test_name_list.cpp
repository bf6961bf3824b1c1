#include "names/NameList.h"

#include "support/TestSupport.h"

using namespace names;
using testsupport::TempTree;
using testsupport::crlf;

namespace {

constexpr ListingOptions kFiles{false, false};

// A list of a scanned directory, with journals of its own.
class NameListTest : public ::testing::Test {
protected:
    void scan(const QStringList& entries = {})
    {
        for (const QString& name : entries)
            dir.add(name);
        list.setStartPath(dir.path());
        list.scan(kFiles);
        list.setModified(true);
    }
    TempTree dir;
    const TempTree journals;
    NameList list{journals.path()};
};

TEST_F(NameListTest, TheScanResetsTheStateAndTheChecksRunInTheOrderTheUserMeetsThem)
{
    for (const char* name : {"b.mp3", "A.txt", "readme"})
        dir.add(name);
    list.setModified(true);
    list.setStartPath("  " + dir.path() + " ");  // surrounding blanks go
    EXPECT_EQ(list.startPath(), dir.path() + "/");
    list.scan(kFiles);
    EXPECT_EQ(list.names().toList(), QStringList({"A.txt", "b.mp3", "readme"}));
    EXPECT_EQ(list.recoverText(), crlf({"A", "b", "readme"}));
    EXPECT_TRUE(list.isRecoverText(crlf({"A", "b", "readme"})) && list.hasRecoverText());
    EXPECT_FALSE(list.isRecoverText(crlf({"A", "b"})) || list.isRecoverText(crlf({"A", "b", "readme", ""}))
                 || list.isRecoverText(crlf({"A", "b", "readm"})));
    EXPECT_FALSE(list.isModified());

    // An invalid character wins over a wrong line count; the line comes as it stands.
    CheckResult c = list.check(crlf({"x", "  bad?name "}));
    EXPECT_EQ(std::make_pair(c.verdict, c.offendingLine), std::make_pair(RenameCheck::InvalidCharacters, QString("  bad?name ")));
    EXPECT_EQ(list.check(crlf({"x", "y"})).verdict, RenameCheck::WrongLineCount);
    EXPECT_EQ(list.check(crlf({"x", "y", "z"})).verdict, RenameCheck::NothingChanged);

    list.setModified(true);
    c = list.check(crlf({" q", "", "q "}));
    EXPECT_EQ(std::make_tuple(c.verdict, c.duplicates.first, c.duplicates.second),
              std::make_tuple(RenameCheck::DuplicateLines, qsizetype(0), qsizetype(1)));  // the blank line is not compared
    EXPECT_EQ(list.comparedLines(), QStringList({"q", "q"}));
    EXPECT_EQ(list.check(crlf({"x", "y", "z"})).verdict, RenameCheck::Ok);
}

TEST_F(NameListTest, RecoverTextFollowsEntriesThroughSeveralRenames)
{
    scan({"a.mp3", "b.mp3", "c.mp3"});
    ASSERT_TRUE(list.rename(crlf({"b", "a", "z"}), kFiles).failed.isEmpty());
    EXPECT_EQ(list.names().toList(), QStringList({"a.mp3", "b.mp3", "z.mp3"}));
    EXPECT_EQ(list.recoverText(), crlf({"b", "a", "c"}));
    EXPECT_EQ(list.renamedLines(), QStringList({"b", "a", "z"}));

    // A second rename keeps the names from before the first one; a changed extension needs the full name.
    list.setModified(true);
    ASSERT_TRUE(list.rename(crlf({"a", "b", "y.txt"}), kFiles).failed.isEmpty());
    EXPECT_EQ(list.names().toList(), QStringList({"a.mp3", "b.mp3", "y.txt"}));
    EXPECT_EQ(list.recoverText(), crlf({"b", "a", "c.mp3"}));
    // Compared line by line without the text being made.
    EXPECT_TRUE(list.isRecoverText(crlf({"b", "a", "c.mp3"})) && list.hasRecoverText());
    for (const QString& other : {crlf({"b", "a"}), crlf({"b", "a", "c.mp3", ""}), crlf({"b", "a", "c.mp"}),
                                 crlf({"b", "a", "c.mp3x"}), QString("b\ra\r\nc.mp3"), QString()})
        EXPECT_FALSE(list.isRecoverText(other)) << other.toStdString();

    // Setting the recover text brings every entry back.
    list.setModified(true);
    ASSERT_TRUE(list.rename(list.recoverText(), kFiles).failed.isEmpty());
    EXPECT_EQ(dir.entries(), QStringList({"a.mp3", "b.mp3", "c.mp3"}));

    // A fresh scan forgets the old names.
    list.scan(kFiles);
    EXPECT_EQ(list.recoverText(), crlf({"a", "b", "c"}));
}

// Another program replaces an entry between the scan and the rename: the journal records what had the name
// then, not the listed entry, so the undo brings back the entry that was renamed.
TEST_F(NameListTest, AnEntryReplacedAfterTheScanIsRecordedAsTheOneRenamed)
{
    dir.add("a.txt", "listed");
    dir.add("b.txt", "B");
    scan();
    ASSERT_TRUE(QFile::rename(dir.file("a.txt"), dir.file("moved.bak")));
    dir.add("a.txt", "stranger");
    ASSERT_TRUE(list.rename(crlf({"x", "b"}), kFiles).failed.isEmpty());
    EXPECT_EQ(dir.withContent(), QStringList({"b.txt=B", "moved.bak=listed", "x.txt=stranger"}));
    EXPECT_TRUE(list.undoLastRename(kFiles).failed.isEmpty());
    EXPECT_EQ(dir.withContent(), QStringList({"a.txt=stranger", "b.txt=B", "moved.bak=listed"}));
}

// The lines a rename read stay those of the entries it renamed, whatever the listing after it finds.
TEST_F(NameListTest, TheRenamedLinesAreTheOnesTheRenameRead)
{
    scan({"a.txt", "b.txt", "c.txt"});
    list.rename(crlf({"x", "y", "z"}), kFiles, [&](qsizetype done, qsizetype total) {
        if (done == total)
            QFile::remove(dir.file("z.txt"));  // another program, before the listing after the rename
    });
    EXPECT_EQ(list.names().toList(), QStringList({"x.txt", "y.txt"}));
    EXPECT_EQ(list.renamedLines(), QStringList({"x", "y", "z"}));
}

}  // namespace
