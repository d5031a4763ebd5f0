// The program image: the board's main and sound programs, graphics and colour PROM, carried
// inside the executable as resource "BINDATA"/"VORTEKAN": u32 uncompressed size, u32 compressed
// size (both little-endian), then one zlib stream.
#pragma once

#include <cstdint>

namespace machine {

inline constexpr uint32_t kProgramImageBytes = 0x6820;  // 26656
inline constexpr uint32_t kMainProgramOffset = 0x0000;
inline constexpr uint32_t kMainProgramBytes = 0x4000;
inline constexpr uint32_t kSoundProgramOffset = 0x4000;
inline constexpr uint32_t kSoundProgramBytes = 0x1800;
inline constexpr uint32_t kGraphicsOffset = 0x5800;
inline constexpr uint32_t kGraphicsAndPromBytes = 0x1020;
inline constexpr uint32_t kImageHeaderBytes = 8;

// Inflates the embedded image into a block from AllocZeroed of at least kProgramImageBytes
// (release it with FreeBlock). A stream that ends early leaves the rest zero. When the resource
// is missing or damaged it shows a message box and returns null.
uint8_t* LoadProgramImage();

}  // namespace machine
