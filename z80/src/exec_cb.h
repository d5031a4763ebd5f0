// The 256 CB-prefixed opcodes: rotates and shifts (SLL included), BIT, RES and SET on B, C, D, E,
// H, L, (HL) and A. Each instruction charges its own constant: 8 on a register, 15 on (HL), 12 for
// BIT n,(HL).
#pragma once

#include "core.h"

namespace z80 {

template <unsigned Op>
Z80_INLINE void ExecCb(Core& c) {
  constexpr unsigned x = Op >> 6, y = (Op >> 3) & 7, z = Op & 7;
  Z80State& s = c.s;

  if constexpr (z == 6) {  // (HL): read once through the data path, written once unless BIT
    uint16_t address = s.hl();
    uint8_t v = c.Read(address);
    if constexpr (x == 1) {
      c.count -= 12;
      TestBit<y>(s, v);
    } else {
      c.count -= 15;
      if constexpr (x == 0) v = Shift<y>(s, v);
      if constexpr (x == 2) v &= ~(1u << y);
      if constexpr (x == 3) v |= 1u << y;
      c.Write(address, v);
    }
  } else {
    c.count -= 8;
    uint8_t& r = Reg8<z>(s);
    if constexpr (x == 0) r = Shift<y>(s, r);
    if constexpr (x == 1) TestBit<y>(s, r);
    if constexpr (x == 2) r &= ~(1u << y);
    if constexpr (x == 3) r |= 1u << y;
  }
}

Z80_INLINE void ExecCbGroup(Core& c) {
  uint8_t op = c.Fetch();
  ++c.s.r;
  switch (op) {
#define Z80_CASE(n) \
  case n: ExecCb<n>(c); break;
    Z80_CASES_256
#undef Z80_CASE
  }
}

}  // namespace z80
