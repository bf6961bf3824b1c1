#include "names/SafeRename.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <unistd.h>

using names::DirRenamer;

namespace {

void put(const QDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray get(const QDir& dir, const QString& name)
{
    QFile f(dir.filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList entries(const QDir& dir)
{
    QStringList list = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    list.sort();
    return list;
}

// Every test runs once per way of renaming: the normal one and both forced fallbacks.
class SafeRenameTest : public ::testing::TestWithParam<DirRenamer::Strategy> {
protected:
    QTemporaryDir tmp;
    QDir dir{tmp.path()};
};

TEST_P(SafeRenameTest, MovesFilesDirectoriesAndSymlinksKeepingContent)
{
    put(dir, "a.txt", "alpha");
    ASSERT_TRUE(dir.mkpath("d/sub"));
    put(dir, "d/sub/inner", "deep");
    ASSERT_EQ(::symlink("nowhere", QFile::encodeName(dir.filePath("link")).constData()), 0);

    DirRenamer r(tmp.path(), GetParam());
    ASSERT_TRUE(r.isOpen());
    EXPECT_EQ(r.rename("a.txt", "b.txt"), 0);
    EXPECT_EQ(r.rename("d", "e"), 0);
    EXPECT_EQ(r.rename("link", "link2"), 0);
    EXPECT_EQ(r.rename("b.txt", "B.TXT"), 0);  // differs only in case: a distinct name here

    EXPECT_EQ(entries(dir), QStringList({"B.TXT", "e", "link2"}));
    EXPECT_EQ(get(dir, "B.TXT"), "alpha");
    EXPECT_EQ(get(dir, "e/sub/inner"), "deep");
    EXPECT_EQ(QFile::symLinkTarget(dir.filePath("link2")), dir.filePath("nowhere"));
}

TEST_P(SafeRenameTest, NeverReplacesAnyKindOfTarget)
{
    // Plain rename(2) would replace each of these targets without a word.
    put(dir, "src", "source");
    ASSERT_TRUE(dir.mkdir("srcdir"));
    put(dir, "file", "keep me");
    ASSERT_TRUE(dir.mkdir("emptydir"));
    ASSERT_EQ(::symlink("nowhere", QFile::encodeName(dir.filePath("dangling")).constData()), 0);
    const QStringList before = entries(dir);

    DirRenamer r(tmp.path(), GetParam());
    for (const QString& source : {QStringLiteral("src"), QStringLiteral("srcdir")}) {
        for (const QString& target : {QStringLiteral("file"), QStringLiteral("emptydir"), QStringLiteral("dangling")}) {
            SCOPED_TRACE((source + " -> " + target).toStdString());
            EXPECT_EQ(r.rename(source, target), EEXIST);
        }
    }
    EXPECT_EQ(r.rename("missing", "new"), ENOENT);
    // No placeholder or half-made link may stay behind after a refusal.
    EXPECT_EQ(entries(dir), before);
    EXPECT_EQ(get(dir, "file"), "keep me");
    EXPECT_EQ(get(dir, "src"), "source");
    EXPECT_TRUE(QFileInfo(dir.filePath("dangling")).isSymLink());
    EXPECT_TRUE(QDir(dir.filePath("emptydir")).isEmpty());
}

TEST_P(SafeRenameTest, RefusesNamesOutsideTheDirectory)
{
    ASSERT_TRUE(dir.mkdir("sub"));
    put(dir, "a", "x");
    DirRenamer r(tmp.path(), GetParam());
    for (const QString& bad : {QString(), QStringLiteral("."), QStringLiteral(".."), QStringLiteral("sub/a"),
                               QStringLiteral("../a"), QStringLiteral("a") + QChar(0) + QStringLiteral("b")}) {
        EXPECT_EQ(r.rename("a", bad), EINVAL) << bad.toStdString();
        EXPECT_EQ(r.rename(bad, "b"), EINVAL) << bad.toStdString();
    }
    EXPECT_EQ(entries(dir), QStringList({"a", "sub"}));
    EXPECT_TRUE(QDir(dir.filePath("sub")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Strategies, SafeRenameTest,
                         ::testing::Values(DirRenamer::Strategy::Auto, DirRenamer::Strategy::LinkThenUnlink,
                                           DirRenamer::Strategy::Placeholder),
                         [](const auto& info) {
                             switch (info.param) {
                             case DirRenamer::Strategy::Auto: return std::string("Auto");
                             case DirRenamer::Strategy::LinkThenUnlink: return std::string("LinkThenUnlink");
                             case DirRenamer::Strategy::Placeholder: return std::string("Placeholder");
                             }
                             return std::string("Unknown");
                         });

TEST(DirRenamer, AddressesItsOwnDirectoryWhereverTheCurrentDirectoryIs)
{
    QTemporaryDir work, elsewhere;
    put(QDir(work.path()), "a", "work");
    put(QDir(elsewhere.path()), "a", "elsewhere");
    DirRenamer r(work.path());
    const QString oldCwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    // The handle also survives the directory itself being moved.
    const QString moved = work.path() + "-moved";
    ASSERT_TRUE(QDir().rename(work.path(), moved));
    const int result = r.rename("a", "b");
    QDir().rename(moved, work.path());
    QDir::setCurrent(oldCwd);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(entries(QDir(work.path())), QStringList({"b"}));
    EXPECT_EQ(entries(QDir(elsewhere.path())), QStringList({"a"}));
}

TEST(DirRenamer, MissingDirectoryReportsInsteadOfActing)
{
    DirRenamer r("/nonexistent/dir/for/renamer");
    EXPECT_FALSE(r.isOpen());
    EXPECT_EQ(r.rename("a", "b"), ENOENT);
    EXPECT_EQ(names::describeError(ENOENT), "Eintrag nicht gefunden");
    EXPECT_TRUE(names::describeError(ENOSPC).startsWith("Fehler: "));
    EXPECT_GT(names::describeError(ENOSPC).size(), 8);
}

}  // namespace
