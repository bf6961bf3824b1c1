#include "mainwindow/DroppedPath.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>

using dropping::directoryToOpen;

namespace {

TEST(DirectoryToOpen, DirectoriesFilesAndMissingPaths)
{
    testsupport::TempTree tree{{"dir/", "dir/song.mp3", "top.txt"}};
    const QString root = QDir(tree.path()).canonicalPath();
    const QString dir = QDir(tree.file("dir")).canonicalPath();
    EXPECT_EQ(directoryToOpen(dir), dir);
    EXPECT_EQ(directoryToOpen(dir + QStringLiteral("/")), dir);
    EXPECT_EQ(directoryToOpen(dir + QStringLiteral("/song.mp3")), dir);
    EXPECT_EQ(directoryToOpen(root + QStringLiteral("/top.txt")), root);
    EXPECT_EQ(directoryToOpen(dir + QStringLiteral("/gone.mp3")), dir);           // deleted since the drag began
    EXPECT_EQ(directoryToOpen(root + QStringLiteral("/gone/song.mp3")), QString());  // its directory is gone too
    EXPECT_EQ(directoryToOpen(QString()), QString());
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

#include "mainwindow/NameTextEdit.h"
#include "ui/FileDrop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

TEST(NameTextDrop, FilesLoadAndTextIsRefusedOnTheRealBox)
{
    NameTextEdit box;
    box.setText(QStringLiteral("a\r\nb"));
    QStringList received;
    ui::FileDropFilter filter([&](const QString& path) { received.append(path); });
    filter.addTarget(&box);
    testsupport::TempTree tree{{"dir/"}};
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(tree.file("dir"))});
    QMimeData text;
    text.setText(QStringLiteral("typed"));
    for (const QMimeData* data : {&text, &files}) {
        QDragEnterEvent enter(QPoint(3, 3), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(box.viewport(), &enter);
        EXPECT_EQ(enter.isAccepted(), data == &files);
        QDropEvent drop(QPointF(3, 3), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(box.viewport(), &drop);
    }
    EXPECT_EQ(received, QStringList{tree.file("dir")});
    EXPECT_EQ(box.text(), QStringLiteral("a\r\nb"));
}

}  // namespace
