// Virtual memory of the device: committed, zero-filled blocks.
//
// VDEVICE_MEMORY_MB  how much memory the device lets a process commit at once (default: no limit
//                    beyond the host's); a small value lets tests exercise out-of-memory paths.
#pragma once

#include "platform/types.h"

inline constexpr DWORD MEM_COMMIT = 0x1000;
inline constexpr DWORD MEM_RESERVE = 0x2000;
inline constexpr DWORD MEM_RELEASE = 0x8000;
inline constexpr DWORD PAGE_READWRITE = 0x04;

// Commits size zero-filled bytes (address must be null; reserve-only and placement requests are
// refused). Returns null and sets ERROR_NOT_ENOUGH_MEMORY when the device has no room.
LPVOID VirtualAlloc(LPVOID address, SIZE_T size, DWORD allocationType, DWORD protect);
// Releases a whole block from VirtualAlloc (MEM_RELEASE with size 0); nothing else is supported.
BOOL VirtualFree(LPVOID address, SIZE_T size, DWORD freeType);
