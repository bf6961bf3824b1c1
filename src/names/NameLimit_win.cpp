#include "names/NameLimit.h"

#include "names/RenamePlan.h"

namespace names {

// The file systems Windows offers all take 255 characters; the byte count of the check stays the
// conservative side of that.
qsizetype nameMaxBytes(const DirectoryHandle&)
{
    return PlanLimits::kDefaultNameBytes;
}

}  // namespace names
