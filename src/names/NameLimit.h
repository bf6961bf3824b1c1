#pragma once
// How long a name the file system of a directory takes.
#include "names/DirectoryHandle.h"

namespace names {

// The longest entry name the file system holding `dir` takes, in bytes of its encoding; 255, the common
// limit, when it cannot tell.
qsizetype nameMaxBytes(const DirectoryHandle& dir);

}  // namespace names
