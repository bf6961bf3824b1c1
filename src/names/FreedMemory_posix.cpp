// Other allocators: left as they are.
#include "names/FreedMemory.h"

namespace names {

void keepFreedMemory() {}

}  // namespace names
