#include "FileClock.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

namespace testsupport {

void passFileClock()
{
    timespec now{};
    ASSERT_EQ(clock_gettime(CLOCK_REALTIME, &now), 0);
    QTemporaryFile probe;
    ASSERT_TRUE(probe.open());
    const QByteArray path = QFile::encodeName(probe.fileName());
    struct stat st{};
    // Stamps the probe with the file clock's time until that has gone past `now`: a tick at most.
    do {
        ASSERT_EQ(utimensat(AT_FDCWD, path.constData(), nullptr, 0), 0);
        ASSERT_EQ(stat(path.constData(), &st), 0);
    } while (st.st_mtim.tv_sec < now.tv_sec || (st.st_mtim.tv_sec == now.tv_sec && st.st_mtim.tv_nsec <= now.tv_nsec));
}

}  // namespace testsupport
