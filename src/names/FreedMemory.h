#pragma once
// How the program's memory allocator deals with memory the program frees.

namespace names {

// Keeps freed memory for the program's own next allocations instead of handing it back to the system at
// once. With a million names every tool command frees and allocates texts of tens of megabytes, and
// memory the system hands out afresh is zeroed page by page at its first touch, which cost more than the
// command's own work. Called first in main(); does nothing where the allocator has no such setting.
void keepFreedMemory();

// Hands freed memory that lies between blocks still in use back to the system, where the allocator can
// do so; for after work that freed many blocks which later allocations will not fit into.
void returnFreedMemory();

}  // namespace names
