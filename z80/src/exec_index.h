// The DD and FD groups: the instructions that use IX or IY (passed in as `ix`) in place of HL, the
// index register halves, and the DD CB / FD CB bit forms. Both prefixes share one decoder; the
// whole instruction is charged from IndexCycles (IndexBitCycles for the bit forms). A DD or FD
// in front of anything not listed here is unsupported and ends the slice; the prefix never falls
// through to the unprefixed instruction except for the plain 8-bit loads among B, C, D, E and A.
#pragma once

#include "core.h"

namespace z80 {

// 8-bit operand of a DD/FD instruction by its 3-bit code: H and L become the index halves.
template <unsigned R>
Z80_INLINE uint8_t GetIndexed8(Z80State& s, uint16_t& ix) {
  if constexpr (R == 4) return static_cast<uint8_t>(ix >> 8);
  if constexpr (R == 5) return static_cast<uint8_t>(ix);
  if constexpr (R != 4 && R != 5) return Reg8<R>(s);
}
template <unsigned R>
Z80_INLINE void SetIndexed8(Z80State& s, uint16_t& ix, uint8_t v) {
  if constexpr (R == 4) ix = static_cast<uint16_t>((ix & 0x00FF) | v << 8);
  if constexpr (R == 5) ix = static_cast<uint16_t>((ix & 0xFF00) | v);
  if constexpr (R != 4 && R != 5) Reg8<R>(s) = v;
}

// DD CB d op / FD CB d op: the byte at (IX+d) is read before op is looked at. Only the forms
// that act on memory alone (op & 7 = 6) are implemented.
Z80_INLINE void ExecIndexBits(Core& c, uint16_t ix) {
  Z80State& s = c.s;
  ++s.r;
  uint16_t address = c.FetchIndexed(ix);
  uint8_t op = c.Fetch();
  uint8_t v = c.Read(address);
  c.count -= IndexBitCycles[op];
  if ((op & 7) != 6) {
    c.EndSlice();
    return;
  }
  unsigned n = (op >> 3) & 7;
  switch (op >> 6) {
    case 0:
      switch (n) {
        case 0: v = Rlc(s, v); break;
        case 1: v = Rrc(s, v); break;
        case 2: v = Rl(s, v); break;
        case 3: v = Rr(s, v); break;
        case 4: v = Sla(s, v); break;
        case 5: v = Sra(s, v); break;
        case 6: v = Sll(s, v); break;
        case 7: v = Srl(s, v); break;
      }
      break;
    case 1: {
      uint8_t bit = v & (1u << n);
      s.f = (s.f & FLAG_C) | FLAG_H | (bit ? (bit & FLAG_S) : (FLAG_Z | FLAG_PV));
      return;
    }
    case 2: v &= ~(1u << n); break;
    case 3: v |= 1u << n; break;
  }
  c.Write(address, v);
}

template <unsigned Op>
Z80_INLINE void ExecIndex(Core& c, uint16_t& ix) {
  constexpr unsigned x = Op >> 6, y = (Op >> 3) & 7, z = Op & 7, p = y >> 1;
  Z80State& s = c.s;

  if constexpr (Op == 0x09 || Op == 0x19 || Op == 0x29 || Op == 0x39) {
    ix = Add16(s, ix, GetPair<p>(s, ix));
  } else if constexpr (Op == 0x21) {
    ix = c.FetchWord();
  } else if constexpr (Op == 0x22) {
    c.Write16(c.FetchWord(), ix);
  } else if constexpr (Op == 0x2A) {
    ix = c.Read16(c.FetchWord());
  } else if constexpr (Op == 0x23) {
    ++ix;
  } else if constexpr (Op == 0x2B) {
    --ix;
  } else if constexpr (Op == 0x24 || Op == 0x2C) {
    uint8_t v = static_cast<uint8_t>(GetIndexed8<y>(s, ix) + 1);
    SetIndexed8<y>(s, ix, v);
    s.f = IncFlags[v] | (s.f & FLAG_C);
  } else if constexpr (Op == 0x25 || Op == 0x2D) {
    uint8_t v = static_cast<uint8_t>(GetIndexed8<y>(s, ix) - 1);
    SetIndexed8<y>(s, ix, v);
    s.f = DecFlags[v] | (s.f & FLAG_C);
  } else if constexpr (Op == 0x26 || Op == 0x2E) {
    SetIndexed8<y>(s, ix, c.Fetch());
  } else if constexpr (Op == 0x34 || Op == 0x35) {
    uint16_t address = c.FetchIndexed(ix);
    uint8_t v = static_cast<uint8_t>(c.Read(address) + (Op == 0x34 ? 1 : -1));
    s.f = (Op == 0x34 ? IncFlags[v] : DecFlags[v]) | (s.f & FLAG_C);
    c.Write(address, v);
  } else if constexpr (Op == 0x36) {
    uint16_t address = c.FetchIndexed(ix);
    c.Write(address, c.Fetch());
  } else if constexpr (x == 1 && Op != 0x76) {
    if constexpr (z == 6) {  // LD r,(IX+d) with the real H and L
      Reg8<y>(s) = c.Read(c.FetchIndexed(ix));
    } else if constexpr (y == 6) {  // LD (IX+d),r with the real H and L
      c.Write(c.FetchIndexed(ix), Reg8<z>(s));
    } else {
      SetIndexed8<y>(s, ix, GetIndexed8<z>(s, ix));
    }
  } else if constexpr (x == 2 && (z == 4 || z == 5)) {
    Alu<y>(s, GetIndexed8<z>(s, ix));
  } else if constexpr (x == 2 && z == 6) {
    Alu<y>(s, c.Read(c.FetchIndexed(ix)));
  } else if constexpr (Op == 0xCB) {
    ExecIndexBits(c, ix);
  } else if constexpr (Op == 0xE1) {
    ix = c.Pop();
  } else if constexpr (Op == 0xE3) {
    uint16_t v = c.Read16(s.sp);
    c.Write16(s.sp, ix);
    ix = v;
  } else if constexpr (Op == 0xE5) {
    c.Push(ix);
  } else if constexpr (Op == 0xE9) {
    c.pc = ix;
  } else if constexpr (Op == 0xF9) {
    s.sp = ix;
  } else {
    c.EndSlice();
  }
}

Z80_INLINE void ExecIndexGroup(Core& c, uint16_t& ix) {
  uint8_t op = c.Fetch();
  ++c.s.r;
  c.count -= IndexCycles[op];
  switch (op) {
#define Z80_CASE(n) \
  case n: ExecIndex<n>(c, ix); break;
    Z80_CASES_256
#undef Z80_CASE
  }
}

}  // namespace z80
