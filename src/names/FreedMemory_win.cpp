// The Windows heap keeps freed blocks for reuse by itself and gives back what it no longer needs.
#include "names/FreedMemory.h"

namespace names {

void keepFreedMemory() {}
void roomForLargeBlocks(size_t) {}

}  // namespace names
