#include "names/SafeRename.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <cerrno>
#include <unistd.h>

using names::DirRenamer;

namespace {

using testsupport::TempTree;

// Every test runs once per way of renaming: the normal one and both forced fallbacks.
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
    EXPECT_EQ(r.rename("a.txt", "b.txt"), 0);
    EXPECT_EQ(r.rename("d", "e"), 0);
    EXPECT_EQ(r.rename("link", "link2"), 0);
    EXPECT_EQ(r.rename("b.txt", "B.TXT"), 0);  // differs only in case: a distinct name here

    EXPECT_EQ(dir.entries(), QStringList({"B.TXT", "e", "link2"}));
    EXPECT_EQ(dir.read("B.TXT"), "alpha");
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
    const QStringList before = dir.entries();

    DirRenamer r(dir.path(), GetParam());
    for (const QString& source : {QStringLiteral("src"), QStringLiteral("srcdir")}) {
        for (const QString& target : {QStringLiteral("file"), QStringLiteral("emptydir"), QStringLiteral("dangling")}) {
            SCOPED_TRACE((source + " -> " + target).toStdString());
            EXPECT_EQ(r.rename(source, target), EEXIST);
        }
    }
    EXPECT_EQ(r.rename("missing", "new"), ENOENT);
    // No placeholder or half-made link may stay behind after a refusal.
    EXPECT_EQ(dir.entries(), before);
    EXPECT_EQ(dir.read("file"), "keep me");
    EXPECT_EQ(dir.read("src"), "source");
    EXPECT_TRUE(QFileInfo(dir.file("dangling")).isSymLink());
    EXPECT_TRUE(QDir(dir.file("emptydir")).isEmpty());
}

TEST_P(SafeRenameTest, RefusesNamesOutsideTheDirectory)
{
    dir.add("sub/");
    dir.add("a", "x");
    DirRenamer r(dir.path(), GetParam());
    for (const QString& bad : {QString(), QStringLiteral("."), QStringLiteral(".."), QStringLiteral("sub/a"),
                               QStringLiteral("../a"), QStringLiteral("a") + QChar(0) + QStringLiteral("b")}) {
        EXPECT_EQ(r.rename("a", bad), EINVAL) << bad.toStdString();
        EXPECT_EQ(r.rename(bad, "b"), EINVAL) << bad.toStdString();
    }
    EXPECT_EQ(dir.entries(), QStringList({"a", "sub"}));
    EXPECT_TRUE(QDir(dir.file("sub")).isEmpty());
}

std::string strategyName(const ::testing::TestParamInfo<DirRenamer::Strategy>& info)
{
    const char* names[] = {"Auto", "WithoutFlag", "WithoutFlagOrLinks"};
    return names[int(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Strategies, SafeRenameTest,
                         ::testing::Values(DirRenamer::Strategy::Auto, DirRenamer::Strategy::WithoutFlag),
                         strategyName);

TEST(DirRenamer, AddressesItsOwnDirectoryWhereverTheCurrentDirectoryIs)
{
    TempTree work({"a"}), elsewhere({"a"});
    DirRenamer r(work.path());
    int result = -1;
    {
        testsupport::CurrentDir cwd(elsewhere.path());
        // The handle also survives the directory itself being moved.
        const QString moved = work.path() + "-moved";
        ASSERT_TRUE(QDir().rename(work.path(), moved));
        result = r.rename("a", "b");
        QDir().rename(moved, work.path());
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(work.entries(), QStringList({"b"}));
    EXPECT_EQ(elsewhere.entries(), QStringList({"a"}));
}

TEST(DirRenamer, MissingDirectoryReportsInsteadOfActing)
{
    DirRenamer r("/nonexistent/dir/for/renamer");
    EXPECT_FALSE(r.isOpen());
    EXPECT_EQ(r.rename("a", "b"), ENOENT);
}

}  // namespace
