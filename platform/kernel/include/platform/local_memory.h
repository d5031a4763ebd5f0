// Local heap blocks, as the device's LocalAlloc offers them: a fixed block is its own handle.
#pragma once

#include "platform/types.h"

using HLOCAL = HANDLE;

inline constexpr UINT LMEM_FIXED = 0x0000;
inline constexpr UINT LMEM_ZEROINIT = 0x0040;
inline constexpr UINT LPTR = LMEM_FIXED | LMEM_ZEROINIT;

// Null when the block cannot be had (also for a size of zero).
HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
// Returns null on success, as on the device.
HLOCAL LocalFree(HLOCAL block);
