// No watch on POSIX systems other than Linux: every name counts as possibly changed.
#include "names/DirectoryWatch.h"

namespace names {

void DirectoryWatch::restart(const DirectoryHandle&) {}

std::optional<QSet<QString>> DirectoryWatch::changedNames()
{
    return std::nullopt;
}

std::optional<QSet<QString>> DirectoryWatch::takeChangedNames()
{
    return std::nullopt;
}

void DirectoryWatch::stop() {}

}  // namespace names
