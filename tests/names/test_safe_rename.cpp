#include "names/DirectoryScan.h"
#include "names/SafeRename.h"

#include "support/TestSupport.h"

#include <QDirIterator>
#include <QFile>

#include <array>
#include <cerrno>
#include <unistd.h>

using names::DirRenamer;

namespace {

using testsupport::TempTree;

// Every test runs once per way of renaming: the normal one and both forced fallbacks (by hard links;
// over a claim of the new name, where there are no links).
class SafeRenameTest : public ::testing::TestWithParam<DirRenamer::Strategy> {
protected:
    TempTree dir;
};

TEST_P(SafeRenameTest, MovesFilesDirectoriesAndSymlinksKeepingContent)
{
    dir.add("a.txt", "alpha");
    dir.add("d/sub/");
    dir.add("d/sub/inner", "deep");
    ASSERT_EQ(::symlink("nowhere", QFile::encodeName(dir.file("link")).constData()), 0);

    DirRenamer r(dir.path(), GetParam());
    ASSERT_TRUE(r.isOpen());
    // The last differs only in case: a distinct name here.
    const std::pair<const char*, const char*> moves[] = {{"a.txt", "b.txt"}, {"d", "e"}, {"link", "link2"}, {"b.txt", "B.TXT"}};
    for (const auto& [from, to] : moves)
        EXPECT_EQ(r.rename(QString::fromLatin1(from), QString::fromLatin1(to)), 0) << from;
    EXPECT_EQ(dir.withContent(), QStringList({"B.TXT=alpha", "e=<missing>", "link2=<missing>"}));
    EXPECT_EQ(dir.read("e/sub/inner"), "deep");
    EXPECT_EQ(QFile::symLinkTarget(dir.file("link2")), dir.file("nowhere"));
}

TEST_P(SafeRenameTest, NeverReplacesAnyKindOfTarget)
{
    // Plain rename(2) would replace each of these targets without a word.
    dir.add("src", "source");
    dir.add("srcdir/");
    dir.add("file", "keep me");
    dir.add("emptydir/");
    ASSERT_EQ(::symlink("nowhere", QFile::encodeName(dir.file("dangling")).constData()), 0);
    const QStringList before = dir.withContent();

    DirRenamer r(dir.path(), GetParam());
    for (const QString& source : {QStringLiteral("src"), QStringLiteral("srcdir")}) {
        for (const QString& target : {QStringLiteral("file"), QStringLiteral("emptydir"), QStringLiteral("dangling")}) {
            SCOPED_TRACE((source + " -> " + target).toStdString());
            EXPECT_EQ(r.rename(source, target), EEXIST);
        }
    }
    EXPECT_EQ(r.rename(u"missing", u"new"), ENOENT);
    // No placeholder or half-made link may stay behind after a refusal.
    EXPECT_EQ(dir.withContent(), before);
    EXPECT_TRUE(QFileInfo(dir.file("dangling")).isSymLink() && QDir(dir.file("emptydir")).isEmpty());
}

TEST_P(SafeRenameTest, RefusesNamesOutsideTheDirectory)
{
    dir.add("sub/");
    dir.add("a", "x");
    DirRenamer r(dir.path(), GetParam());
    for (const QString& bad : {QString(), QStringLiteral("."), QStringLiteral(".."), QStringLiteral("sub/a"),
                               QStringLiteral("../a"), QStringLiteral("a") + QChar(0) + QStringLiteral("b")}) {
        EXPECT_EQ(r.rename(u"a", bad), EINVAL) << bad.toStdString();
        EXPECT_EQ(r.rename(bad, u"b"), EINVAL) << bad.toStdString();
    }
    EXPECT_EQ(dir.entries(), QStringList({"a", "sub"}));
    EXPECT_TRUE(QDir(dir.file("sub")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Strategies, SafeRenameTest,
                         ::testing::Values(DirRenamer::Strategy::Auto, DirRenamer::Strategy::WithoutFlag,
                                           DirRenamer::Strategy::WithoutFlagOrLinks),
                         [](const auto& strategy) { return std::string(std::array{"Auto", "WithoutFlag", "WithoutFlagOrLinks"}[size_t(strategy.param)]); });

// What another program may do to the names while a rename without the no-replace request is under way.
enum class Race {
    ReplaceSource,   // an editor saves over the old name: a new file, renamed over it
    WriteTarget,     // writes the new name (creating it, or into whatever file has it)
    SaveOverTarget,  // saves the new name by renaming an entry of the source's kind over it
    FillTarget,      // makes a directory of the new name (or uses the one there) and writes into it
};

void actOut(Race race, TempTree& dir, bool isDir)
{
    auto renameOver = [&](const char* from, const char* to) {
        ASSERT_EQ(::rename(QFile::encodeName(dir.file(from)).constData(), QFile::encodeName(dir.file(to)).constData()), 0);
    };
    if (race == Race::ReplaceSource) {
        dir.add("editor-save", "saved by the editor");
        renameOver("editor-save", "src");
    } else if (race == Race::WriteTarget) {
        dir.add("dst", "another program's");
    } else if (race == Race::SaveOverTarget) {
        dir.add(isDir ? "save/" : "save", "another program's");
        if (isDir)
            dir.add("save/inner", "another program's");
        renameOver("save", "dst");
    } else {
        dir.add("dst/");
        dir.add("dst/inner", "another program's");
    }
}

// The content of every file below `root`, sorted: each must be there exactly once.
QStringList allContents(const QString& root)
{
    QStringList contents;
    for (QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
        contents.append(QString::fromUtf8(testsupport::readFile(it.next())));
    contents.sort();
    return contents;
}

}  // namespace

TEST(DirRenamerWithoutFlag, RacingProgramsLoseNothingAtAnyStep)
{
    using S = DirRenamer::Strategy;
    struct Case {
        S strategy;
        bool isDir;
        Race race;
        int atStep;  // by links three steps; over a claim one, after the claim is made
    };
    const Case cases[] = {
        {S::WithoutFlag, false, Race::ReplaceSource, 1},         {S::WithoutFlag, false, Race::ReplaceSource, 2},
        {S::WithoutFlag, false, Race::ReplaceSource, 3},         {S::WithoutFlag, false, Race::WriteTarget, 1},
        {S::WithoutFlag, false, Race::FillTarget, 1},            {S::WithoutFlagOrLinks, false, Race::WriteTarget, 1},
        {S::WithoutFlagOrLinks, false, Race::SaveOverTarget, 1}, {S::WithoutFlag, true, Race::SaveOverTarget, 1},
        {S::WithoutFlag, true, Race::FillTarget, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "strategy " << int(c.strategy) << " dir " << c.isDir << " race "
                                        << int(c.race) << " step " << c.atStep);
        TempTree dir;
        if (c.isDir)
            dir.add("src/");
        dir.add(c.isDir ? "src/content" : "src", "original");
        DirRenamer r(dir.path(), c.strategy);
        int step = 0;
        r.setStepHook([&] {
            if (++step == c.atStep)
                actOut(c.race, dir, c.isDir);
        });
        const int result = r.rename(u"src", u"dst");
        ASSERT_GE(step, c.atStep);

        // Nothing is lost or overwritten, and neither a temporary name nor a claim stays behind.
        const QString other = c.race == Race::ReplaceSource ? "saved by the editor" : "another program's";
        QStringList expected = {other, "original"};
        expected.sort();
        EXPECT_EQ(allContents(dir.path()), expected);
        EXPECT_EQ(dir.entries(), QStringList({"dst", "src"}));
        EXPECT_EQ(result, c.race == Race::ReplaceSource ? 0 : EEXIST);
        const QString original = c.isDir ? "/content" : "";
        EXPECT_EQ(dir.read((result == 0 ? "dst" : "src") + original), "original") << result;
    }
}

TEST(DirectoryHandle, RenamesAndScansTheDirectoryThatWasScannedNotWhatNowStandsAtItsPath)
{
    TempTree root;
    root.add("work/");
    root.add("work/01.mp3", "mine");
    root.add("other/");
    root.add("other/01.mp3", "someone else's");
    const QString path = root.file("work");
    names::DirectoryHandle handle(path);
    DirRenamer byPath(path);
    ASSERT_TRUE(handle.isOpen());
    EXPECT_TRUE(handle.isAt(path) && handle.isAt(path + "/"));

    // The scanned directory moves away; a link to another one takes its path, and the current
    // directory is elsewhere.
    ASSERT_TRUE(QDir().rename(path, root.file("work-moved")));
    ASSERT_EQ(::symlink("other", QFile::encodeName(path).constData()), 0);
    testsupport::CurrentDir cwd(root.file("other"));
    EXPECT_FALSE(handle.isAt(path));
    EXPECT_EQ(names::scanDirectory(handle, {false, false}).names.toList(), QStringList({"01.mp3"}));

    EXPECT_EQ(DirRenamer(handle).rename(u"01.mp3", u"Intro.mp3"), 0);
    EXPECT_EQ(byPath.rename(u"Intro.mp3", u"Outro.mp3"), 0);
    EXPECT_EQ(root.read("work-moved/Outro.mp3"), "mine");
    EXPECT_EQ(root.read("other/01.mp3"), "someone else's");

    names::DirectoryHandle missing(root.file("nothing-here"));
    EXPECT_FALSE(missing.isOpen() || missing.isAt(root.file("nothing-here")) || DirRenamer(root.file("nothing-here")).isOpen());
    EXPECT_EQ(DirRenamer(missing).rename(u"a", u"b"), ENOENT);
}

TEST(DirRenamer, RemovesAnExtraNameOnlyWhileTheDataHasAnother)
{
    TempTree dir;
    dir.add("a", "data");
    dir.add("lone", "only name");
    const QByteArray base = QFile::encodeName(dir.path()) + "/";
    ASSERT_EQ(::link((base + "a").constData(), (base + "b").constData()), 0);
    names::DirectoryHandle handle(dir.path());
    const names::FileIdentity id = handle.entryIdentity("a");
    DirRenamer r(handle);
    EXPECT_EQ(r.removeExtraName("lone", handle.entryIdentity("lone")), EEXIST);  // its only name
    EXPECT_EQ(r.removeExtraName("b", handle.entryIdentity("lone")), EEXIST);     // not that entry
    EXPECT_EQ(r.removeExtraName("b", id), 0);
    EXPECT_EQ(r.removeExtraName("a", id), EEXIST);  // now the only name left
    EXPECT_EQ(dir.withContent(), QStringList({"a=data", "lone=only name"}));
}
