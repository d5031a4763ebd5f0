// The 256 unprefixed opcodes. Each opcode is its own instantiation of ExecMain, decoded at compile
// time from its bit fields (x = bits 7-6, y = bits 5-3, z = bits 2-0, p = y >> 1, q = y & 1), so
// the dispatch switch jumps straight to straight-line code.
#pragma once

#include "core.h"
#include "exec_cb.h"
#include "exec_ed.h"
#include "exec_index.h"

namespace z80 {

template <unsigned Op>
Z80_INLINE void ExecMain(Core& c) {
  constexpr unsigned x = Op >> 6, y = (Op >> 3) & 7, z = Op & 7, p = y >> 1, q = y & 1;
  Z80State& s = c.s;

  if constexpr (x == 0) {
    if constexpr (Op == 0x00) {
      // NOP
    } else if constexpr (Op == 0x08) {
      uint16_t af = s.af();
      s.setAf(s.af2);
      s.af2 = af;
    } else if constexpr (Op == 0x10) {  // DJNZ e
      int8_t e = static_cast<int8_t>(c.Fetch());
      if (--s.b != 0) {
        c.pc = static_cast<uint16_t>(c.pc + e);
        c.count -= 5;
      }
    } else if constexpr (Op == 0x18) {  // JR e; a jump onto itself is an idle loop
      uint8_t e = c.Fetch();
      c.pc = static_cast<uint16_t>(c.pc + static_cast<int8_t>(e));
      if (e == 0xFE) c.EndSlice();
    } else if constexpr (z == 0) {  // JR cc,e
      int8_t e = static_cast<int8_t>(c.Fetch());
      if (Condition<y - 4>(s)) {
        c.pc = static_cast<uint16_t>(c.pc + e);
        c.count -= 5;
      }
    } else if constexpr (z == 1 && q == 0) {
      SetPair<p>(s, c.FetchWord());
    } else if constexpr (z == 1) {
      s.setHl(Add16(s, s.hl(), GetPair<p>(s, s.hl())));
    } else if constexpr (Op == 0x02) {
      c.Write(s.bc(), s.a);
    } else if constexpr (Op == 0x12) {
      c.Write(s.de(), s.a);
    } else if constexpr (Op == 0x22) {
      c.Write16(c.FetchWord(), s.hl());
    } else if constexpr (Op == 0x32) {
      c.Write(c.FetchWord(), s.a);
    } else if constexpr (Op == 0x0A) {
      s.a = c.Read(s.bc());
    } else if constexpr (Op == 0x1A) {
      s.a = c.Read(s.de());
    } else if constexpr (Op == 0x2A) {
      s.setHl(c.Read16(c.FetchWord()));
    } else if constexpr (Op == 0x3A) {
      s.a = c.Read(c.FetchWord());
    } else if constexpr (z == 3) {  // INC rr / DEC rr
      SetPair<p>(s, static_cast<uint16_t>(GetPair<p>(s, s.hl()) + (q ? -1 : 1)));
    } else if constexpr ((z == 4 || z == 5) && y == 6) {  // INC (HL) / DEC (HL)
      uint16_t address = s.hl();
      uint8_t v = static_cast<uint8_t>(c.Read(address) + (z == 4 ? 1 : -1));
      s.f = (z == 4 ? IncFlags[v] : DecFlags[v]) | (s.f & FLAG_C);
      c.Write(address, v);
    } else if constexpr (z == 4) {
      uint8_t v = ++Reg8<y>(s);
      s.f = IncFlags[v] | (s.f & FLAG_C);
    } else if constexpr (z == 5) {
      uint8_t v = --Reg8<y>(s);
      s.f = DecFlags[v] | (s.f & FLAG_C);
    } else if constexpr (Op == 0x36) {
      uint8_t n = c.Fetch();
      c.Write(s.hl(), n);
    } else if constexpr (z == 6) {
      Reg8<y>(s) = c.Fetch();
    } else if constexpr (Op == 0x07) {
      Rlca(s);
    } else if constexpr (Op == 0x0F) {
      Rrca(s);
    } else if constexpr (Op == 0x17) {
      Rla(s);
    } else if constexpr (Op == 0x1F) {
      Rra(s);
    } else if constexpr (Op == 0x27) {  // DAA
      uint16_t r = DaaTable[s.a | (s.f & FLAG_C) << 8 | (s.f & FLAG_H) << 5 | (s.f & FLAG_N) << 9];
      s.a = static_cast<uint8_t>(r);
      s.f = static_cast<uint8_t>(r >> 8);
    } else if constexpr (Op == 0x2F) {  // CPL
      s.a = ~s.a;
      s.f |= FLAG_H | FLAG_N;
    } else if constexpr (Op == 0x37) {  // SCF
      s.f = (s.f & (FLAG_S | FLAG_Z | FLAG_5 | FLAG_3 | FLAG_PV)) | FLAG_C;
    } else if constexpr (Op == 0x3F) {  // CCF
      uint8_t carry = s.f & FLAG_C;
      s.f = (s.f & (FLAG_S | FLAG_Z | FLAG_5 | FLAG_3 | FLAG_PV)) | carry << 4 | (carry ^ FLAG_C);
    }
  } else if constexpr (x == 1) {
    if constexpr (Op == 0x76) {  // HALT: park on the opcode until an interrupt request
      c.EndSlice();
      --c.pc;
      s.halted = 1;
    } else if constexpr (y == 6) {
      c.Write(s.hl(), Reg8<z>(s));
    } else if constexpr (z == 6) {
      Reg8<y>(s) = c.Read(s.hl());
    } else if constexpr (y != z) {
      Reg8<y>(s) = Reg8<z>(s);
    }
  } else if constexpr (x == 2) {
    if constexpr (z == 6) {
      Alu<y>(s, c.Read(s.hl()));
    } else {
      Alu<y>(s, Reg8<z>(s));
    }
  } else {
    if constexpr (z == 0) {  // RET cc: the stack is read only when returning
      if (Condition<y>(s)) {
        c.pc = c.Pop();
        c.count -= 6;
      }
    } else if constexpr (Op == 0xF1) {
      s.setAf(c.Pop());
    } else if constexpr (z == 1 && q == 0) {
      SetPair<p>(s, c.Pop());
    } else if constexpr (Op == 0xC9) {
      c.pc = c.Pop();
    } else if constexpr (Op == 0xD9) {  // EXX
      uint16_t bc = s.bc(), de = s.de(), hl = s.hl();
      s.setBc(s.bc2), s.setDe(s.de2), s.setHl(s.hl2);
      s.bc2 = bc, s.de2 = de, s.hl2 = hl;
    } else if constexpr (Op == 0xE9) {
      c.pc = s.hl();
    } else if constexpr (Op == 0xF9) {
      s.sp = s.hl();
    } else if constexpr (z == 2) {  // JP cc,nn
      uint16_t target = c.FetchWord();
      if (Condition<y>(s)) {
        c.pc = target;
        c.count -= 5;
      }
    } else if constexpr (Op == 0xC3) {
      c.pc = c.FetchWord();
    } else if constexpr (Op == 0xCB) {
      ExecCbGroup(c);
    } else if constexpr (Op == 0xD3) {  // OUT (n),A: the port number is n alone
      c.Out(c.Fetch(), s.a);
    } else if constexpr (Op == 0xDB) {  // IN A,(n): A supplies the high byte; flags unchanged
      uint16_t port = static_cast<uint16_t>(s.a << 8 | c.Fetch());
      s.a = c.In(port);
    } else if constexpr (Op == 0xE3) {
      uint16_t v = c.Read16(s.sp);
      c.Write16(s.sp, s.hl());
      s.setHl(v);
    } else if constexpr (Op == 0xEB) {
      uint16_t de = s.de();
      s.setDe(s.hl());
      s.setHl(de);
    } else if constexpr (Op == 0xF3) {
      c.DisableInterrupts();
    } else if constexpr (Op == 0xFB) {
      c.EnableInterrupts();
    } else if constexpr (z == 4) {  // CALL cc,nn: the stack is written only when calling
      uint16_t target = c.FetchWord();
      if (Condition<y>(s)) {
        c.Push(c.pc);
        c.pc = target;
        c.count -= 7;
      }
    } else if constexpr (Op == 0xF5) {
      c.Push(s.af());
    } else if constexpr (z == 5 && q == 0) {
      c.Push(GetPair<p>(s, s.hl()));
    } else if constexpr (Op == 0xCD) {
      uint16_t target = c.FetchWord();
      c.Push(c.pc);
      c.pc = target;
    } else if constexpr (Op == 0xDD) {
      ExecIndexGroup(c, s.ix);
    } else if constexpr (Op == 0xED) {
      ExecEdGroup(c);
    } else if constexpr (Op == 0xFD) {
      ExecIndexGroup(c, s.iy);
    } else if constexpr (z == 6) {
      Alu<y>(s, c.Fetch());
    } else if constexpr (z == 7) {  // RST p
      c.Push(c.pc);
      c.pc = Op & 0x38;
    }
  }
}

}  // namespace z80
