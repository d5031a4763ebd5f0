// T-state tables. Conditional instructions are listed with their not-taken figure; the executor
// adds the extra when the condition holds (JR cc +5, DJNZ +5, RET cc +6, CALL cc +7, JP cc +5).
// CB and ED instructions charge their own constants.
//
// Two figures are ours, where the core's original timing data gave no charge at all:
// - SLL costs what the other shifts cost: 8 on a register, 15 on (HL), 23 as DD CB / FD CB.
// - A DD/FD prefix in front of a plain 8-bit load among B, C, D, E and A is ignored but still
//   fetched, so the load costs 8 (4 for the prefix, 4 for the load).
#pragma once

#include <array>
#include <cstdint>

namespace z80 {

// Indexed by the unprefixed opcode. The prefixes CB, DD, ED and FD are charged by their group.
inline constexpr std::array<uint8_t, 256> MainCycles = {
    // x0 x1  x2  x3  x4  x5  x6  x7  x8  x9  xA  xB  xC  xD  xE  xF
    4, 10, 7,  6,  4,  4,  7,  4,  4,  11, 7,  6,  4,  4,  7, 4,   // 0x
    8, 10, 7,  6,  4,  4,  7,  4,  12, 11, 7,  6,  4,  4,  7, 4,   // 1x
    7, 10, 16, 6,  4,  4,  7,  4,  7,  11, 16, 6,  4,  4,  7, 4,   // 2x
    7, 10, 13, 6,  11, 11, 10, 4,  7,  11, 13, 6,  4,  4,  7, 4,   // 3x
    4, 4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4,  4,  4,  7, 4,   // 4x
    4, 4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4,  4,  4,  7, 4,   // 5x
    4, 4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4,  4,  4,  7, 4,   // 6x
    7, 7,  7,  7,  7,  7,  4,  7,  4,  4,  4,  4,  4,  4,  7, 4,   // 7x
    4, 4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4,  4,  4,  7, 4,   // 8x
    4, 4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4,  4,  4,  7, 4,   // 9x
    4, 4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4,  4,  4,  7, 4,   // Ax
    4, 4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4,  4,  4,  7, 4,   // Bx
    5, 10, 10, 10, 10, 11, 7,  11, 5,  10, 10, 0,  10, 17, 7, 11,  // Cx
    5, 10, 10, 11, 10, 11, 7,  11, 5,  4,  10, 11, 10, 0,  7, 11,  // Dx
    5, 10, 10, 19, 10, 11, 7,  11, 5,  4,  10, 4,  10, 0,  7, 11,  // Ex
    5, 10, 10, 4,  10, 11, 7,  11, 5,  6,  10, 4,  10, 0,  7, 11,  // Fx
};

namespace tables {

constexpr std::array<uint8_t, 256> MakeIndexCycles() {
  std::array<uint8_t, 256> t{};
  for (unsigned op : {0x09u, 0x19u, 0x29u, 0x39u}) t[op] = 15;
  t[0x21] = 14;
  t[0x22] = t[0x2A] = 20;
  t[0x23] = t[0x2B] = 10;
  t[0x24] = t[0x25] = t[0x2C] = t[0x2D] = 4;
  t[0x26] = t[0x2E] = 7;
  t[0x34] = t[0x35] = 23;
  t[0x36] = 19;
  for (unsigned op = 0x40; op < 0x80; ++op) {
    unsigned dst = (op >> 3) & 7, src = op & 7;
    if (op == 0x76) continue;
    if (dst == 6 || src == 6) {
      t[op] = 19;  // loads and stores through (IX+d)
    } else if (dst == 4 || dst == 5 || src == 4 || src == 5) {
      t[op] = 4;  // IXH / IXL forms
    } else {
      t[op] = 8;  // prefix ignored
    }
  }
  for (unsigned op = 0x80; op < 0xC0; ++op) {
    unsigned src = op & 7;
    if (src == 4 || src == 5) t[op] = 4;
    if (src == 6) t[op] = 19;
  }
  t[0xE1] = 14;
  t[0xE3] = 23;
  t[0xE5] = 15;
  t[0xE9] = 8;
  t[0xF9] = 10;
  return t;
}

constexpr std::array<uint8_t, 256> MakeIndexBitCycles() {
  std::array<uint8_t, 256> t{};
  for (unsigned op = 6; op < 256; op += 8) t[op] = (op >> 6) == 1 ? 20 : 23;
  return t;
}

}  // namespace tables

// Indexed by the byte after DD or FD: the whole instruction, prefix included; 0 = unsupported.
inline constexpr auto IndexCycles = tables::MakeIndexCycles();
// Indexed by the last byte of DD CB d op / FD CB d op; 0 = unsupported.
inline constexpr auto IndexBitCycles = tables::MakeIndexBitCycles();

}  // namespace z80
