// The watch that spares the rename a second look at every entry: it must name every change that
// others make, and say so when it cannot.
#include "names/DirectoryWatch.h"

#include "support/TestSupport.h"

#include <QFile>

using namespace names;

namespace {

// Under a file system the watch covers on every Linux machine (invalid where there is no /dev/shm).
std::unique_ptr<QTemporaryDir> watchableDir()
{
    auto dir = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/quillet-watch-XXXXXX"));
    return dir->isValid() ? std::move(dir) : nullptr;
}

void touch(const QString& path) { testsupport::writeFile(path, {}); }

TEST(DirectoryWatch, NamesEveryCreatedRemovedAndMovedNameOnce)
{
    const auto dir = watchableDir();
    if (!dir)
        GTEST_SKIP() << "no /dev/shm";
    touch(dir->filePath("a"));
    touch(dir->filePath("d"));
    const DirectoryHandle handle(dir->path());
    DirectoryWatch watch;
    watch.restart(handle);
    EXPECT_EQ(watch.changedNames(), QSet<QString>());

    touch(dir->filePath("New.txt"));
    ASSERT_TRUE(QFile::rename(dir->filePath("a"), dir->filePath("c")));
    QFile::resize(dir->filePath("c"), 10);  // a write changes no name
    EXPECT_EQ(watch.changedNames(), QSet<QString>({"new.txt", "a", "c"}));
    // Reading goes on watching; taking stops, and what follows is not known.
    ASSERT_TRUE(QFile::remove(dir->filePath("d")));
    EXPECT_EQ(watch.takeChangedNames(), QSet<QString>({"new.txt", "a", "c", "d"}));
    EXPECT_EQ(watch.changedNames(), std::nullopt);
    // A new start forgets the old changes.
    watch.restart(handle);
    EXPECT_EQ(watch.changedNames(), QSet<QString>());
}

// More changes than the kernel queues for a watch: what was lost is not known, so nothing is.
TEST(DirectoryWatch, NoWatchOrAnOverflowIsNotKnown)
{
    DirectoryWatch never;
    EXPECT_EQ(never.takeChangedNames(), std::nullopt);
    const auto dir = watchableDir();
    if (!dir)
        GTEST_SKIP() << "no /dev/shm";
    QFile limitFile(QStringLiteral("/proc/sys/fs/inotify/max_queued_events"));
    const int limit = limitFile.open(QIODevice::ReadOnly) ? limitFile.readAll().trimmed().toInt() : 16384;
    if (limit <= 0 || limit > 100000)
        GTEST_SKIP() << "queue limit " << limit;
    const DirectoryHandle handle(dir->path());
    DirectoryWatch watch;
    watch.restart(handle);
    ASSERT_EQ(watch.changedNames(), QSet<QString>());  // the watch works here
    for (int i = 0; i <= limit; ++i)
        touch(dir->filePath(QString::number(i)));
    EXPECT_EQ(watch.takeChangedNames(), std::nullopt);
}

}  // namespace
