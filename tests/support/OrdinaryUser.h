#pragma once
// While it lives, a test run as root acts as an ordinary user (ids 65534) owning the given folders, so that
// what the program refuses to root can still be tried. Run as any other user it changes nothing.
#include <QStringList>

namespace testsupport {

class OrdinaryUser {
public:
    explicit OrdinaryUser(const QStringList& ownFolders = {});
    ~OrdinaryUser();
    OrdinaryUser(const OrdinaryUser&) = delete;
    OrdinaryUser& operator=(const OrdinaryUser&) = delete;

private:
    bool m_switched = false;
};

}  // namespace testsupport
