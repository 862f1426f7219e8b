// Memory of the record stores' blocks and the reader's token buffer. Blocks
// of the usual sizes that a model frees are kept (a few MiB at most) for the
// next model: the Windows heap hands large freed spans back to the system,
// and faulting every page of a model in again cost more than reading the
// PPD; a 1 MiB block is mapped and unmapped on every reading.
#pragma once

#include <cstddef>

namespace qx {

void *TakePpdBlock(size_t bytes);
void ReturnPpdBlock(void *block, size_t bytes);  // null: nothing

// Frees the kept blocks; at DLL unload, while no model is being read or
// freed.
void ReleaseKeptPpdBlocks();

}  // namespace qx
