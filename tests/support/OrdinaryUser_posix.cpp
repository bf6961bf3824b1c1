#include "OrdinaryUser.h"

#include <gtest/gtest.h>

#include <QFile>

#include <cstdlib>

#include <unistd.h>

namespace testsupport {

namespace {
constexpr uid_t kUser = 65534;
constexpr gid_t kGroup = 65534;
}  // namespace

OrdinaryUser::OrdinaryUser(const QStringList& ownFolders)
{
    if (geteuid() != 0)
        return;
    for (const QString& folder : ownFolders)
        EXPECT_EQ(::chown(QFile::encodeName(folder).constData(), kUser, kGroup), 0) << folder.toStdString();
    // The saved user id stays root's, so that the destructor can take it back; a program started meanwhile
    // gets none of it.
    if (::setresgid(kGroup, kGroup, static_cast<gid_t>(-1)) != 0) {  // -1: keep the saved group
        ADD_FAILURE() << "cannot act as an ordinary user";
        return;
    }
    if (::setresuid(kUser, kUser, 0) != 0) {
        [[maybe_unused]] const int undone = ::setresgid(0, 0, 0);
        ADD_FAILURE() << "cannot act as an ordinary user";
        return;
    }
    m_switched = true;
}

OrdinaryUser::~OrdinaryUser()
{
    if (m_switched && (::setresuid(0, 0, 0) != 0 || ::setresgid(0, 0, 0) != 0))
        std::abort();  // the rest of the tests would run with the wrong rights
}

}  // namespace testsupport
