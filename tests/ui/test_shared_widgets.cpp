// The drive list and the background file list that the chooser and the file dialog share.
#include "ui/BackgroundFileList.h"
#include "ui/DriveList.h"

#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QThreadPool>

namespace {

using namespace testsupport;
using ui::DriveList;

TEST(DriveList, KeepsUserVolumesOnly)
{
    for (const char* root : {"/", "/home", "/devel", "/system", "/procedures", "/run/media/anna/STICK", "/mnt/usb"})
        EXPECT_TRUE(DriveList::isUserVolume(QString::fromLatin1(root))) << root;
    for (const char* root : {"/dev", "/dev/shm", "/proc", "/proc/sys/fs/binfmt_misc", "/sys", "/sys/fs/cgroup", "/run",
                             "/run/user/1000", "/run/lock", "/run/media"})
        EXPECT_FALSE(DriveList::isUserVolume(QString::fromLatin1(root))) << root;
    const QStringList roots = DriveList::driveRoots();
    EXPECT_TRUE(roots.contains("/"));
    for (const QString& root : roots)
        EXPECT_TRUE(DriveList::isUserVolume(root)) << root.toStdString();
}

TEST(DriveList, SelectsTheVolumeThatHoldsAPath)
{
    DriveList drives;
    drives.clear();
    drives.addItems({"/", "/home", "/home2", "/run/media/anna/STICK"});
    // A longer name is no sub-folder.
    for (const auto& [path, volume] : {std::pair{"/home2/ann/x", "/home2"}, {"/homework", "/"}, {"/home", "/home"},
                                       {"/run/media/anna/STICK/Musik", "/run/media/anna/STICK"}}) {
        EXPECT_EQ(drives.selectFor(path), volume);
        EXPECT_EQ(drives.currentText(), volume);
    }
}

QStringList waitForList(ui::BackgroundFileList& list)
{
    if (list.isListing()) {
        QSignalSpy listed(&list, &ui::BackgroundFileList::listed);
        EXPECT_TRUE(listed.wait(5000));
    }
    return list.stringList();
}

TEST(BackgroundFileList, ListsVisibleFilesMatchingThePattern)
{
    TempTree tree({"b.TXT", "a.txt", ".hidden.txt", "c.mp3", "d.txt/", "x.txt.bak"});
    ui::BackgroundFileList list;
    list.list(tree.path());
    EXPECT_EQ(waitForList(list), (QStringList{"a.txt", "b.TXT", "c.mp3", "x.txt.bak"}));
    list.list(tree.path(), "*.txt");
    EXPECT_EQ(waitForList(list), (QStringList{"a.txt", "b.TXT"}));
}

TEST(BackgroundFileList, OnlyTheLatestRequestIsShown)
{
    TempTree first({"one.txt"});
    TempTree second({"two.txt"});
    ui::BackgroundFileList list;
    QSignalSpy listed(&list, &ui::BackgroundFileList::listed);
    list.list(first.path());
    list.list(second.path());
    EXPECT_TRUE(list.stringList().isEmpty());  // emptied at once, not showing the old folder meanwhile
    EXPECT_EQ(waitForList(list), QStringList{"two.txt"});
    // The first answer may arrive late; once every listing has ended and posted its answer, it must
    // not have replaced the second.
    ASSERT_TRUE(QThreadPool::globalInstance()->waitForDone(5000));
    QCoreApplication::processEvents();
    EXPECT_TRUE(list.stringList() == QStringList{"two.txt"} && listed.count() == 1);
}

}  // namespace
