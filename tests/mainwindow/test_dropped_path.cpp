#include "mainwindow/DroppedPath.h"

#include "support/TestSupport.h"

using dropping::directoryToOpen;

namespace {

TEST(DirectoryToOpen, DirectoriesFilesAndMissingPaths)
{
    testsupport::TempTree tree{{"dir/", "dir/song.mp3", "top.txt"}};
    const QString root = QDir(tree.path()).canonicalPath();
    const QString dir = QDir(tree.file("dir")).canonicalPath();
    // A file deleted since the drag began still names its directory.
    for (const QString& path : {dir, dir + QStringLiteral("/"), dir + QStringLiteral("/song.mp3"), dir + QStringLiteral("/gone.mp3")})
        EXPECT_EQ(directoryToOpen(path), dir) << path.toStdString();
    EXPECT_EQ(directoryToOpen(root + QStringLiteral("/top.txt")), root);
    EXPECT_EQ(directoryToOpen(root + QStringLiteral("/gone/song.mp3")) + directoryToOpen(QString()), QString());  // its directory is gone too
}

TEST(DirectoryToOpen, RootAndRelativePaths)
{
    EXPECT_EQ(directoryToOpen(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(directoryToOpen(QStringLiteral("/no-such-entry-of-the-root")), QStringLiteral("/"));
    testsupport::TempTree tree{{"dir/", "dir/a.txt"}};
    testsupport::CurrentDir cwd(tree.path());
    const QString dir = QDir(tree.file("dir")).canonicalPath();
    EXPECT_EQ(QDir(directoryToOpen(QStringLiteral("dir/a.txt"))).canonicalPath(), dir);
    EXPECT_EQ(QDir(directoryToOpen(QStringLiteral("dir"))).canonicalPath(), dir);
}

}  // namespace
