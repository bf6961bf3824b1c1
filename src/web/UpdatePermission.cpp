#include "web/UpdatePermission.h"

#include <QLatin1String>

namespace web {

namespace {

bool isSystemFolder(const QString& folder)
{
    return folder == QLatin1String("/usr") || folder.startsWith(QLatin1String("/usr/"));
}

}  // namespace

UpdateRefusal updateRefusal(const ProgramFolderFacts& facts)
{
    if (!facts.hasUsers)
        return UpdateRefusal::None;  // the updater asks for the rights it needs itself
    // A real user id of root could take its rights back in the started updater.
    if (facts.effectiveUser == 0 || facts.realUser == 0)
        return UpdateRefusal::RunningAsRoot;
    if (facts.owner != facts.effectiveUser || !facts.writable || isSystemFolder(facts.folder))
        return UpdateRefusal::NotUsersFolder;
    return UpdateRefusal::None;
}

}  // namespace web
