#include "names/NameLimit.h"

#include "names/RenamePlan.h"

#include <unistd.h>

namespace names {

qsizetype nameMaxBytes(const DirectoryHandle& dir)
{
    if (!dir.isOpen())
        return PlanLimits::kDefaultNameBytes;
    const long limit = fpathconf(dir.fd(), _PC_NAME_MAX);
    return limit > 0 ? qsizetype(limit) : PlanLimits::kDefaultNameBytes;
}

}  // namespace names
