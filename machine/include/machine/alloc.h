// The game program's allocation helpers for every large buffer.
#pragma once

#include <cstddef>

namespace machine {

// size bytes of committed, zero-filled memory. When the device has no memory left it shows the
// out-of-memory box and ends the calling thread, so callers never see a null pointer.
void* AllocZeroed(std::size_t size);

// Releases a block from AllocZeroed; null and the all-ones pointer are ignored.
void FreeBlock(void* block);

}  // namespace machine
