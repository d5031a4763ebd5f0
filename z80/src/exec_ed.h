// The ED group: 16-bit arithmetic with carry, I/O through (C), block instructions, interrupt
// control and the I and R loads. Every second byte not listed here is unsupported and ends the
// slice (the undocumented mirrors of NEG, RETN, IM and OUT (C),0 among them).
#pragma once

#include "core.h"

namespace z80 {

// One step of LDI (+1) or LDD (-1).
Z80_INLINE void BlockLoad(Core& c, int step) {
  Z80State& s = c.s;
  c.Write(s.de(), c.Read(s.hl()));
  s.setDe(static_cast<uint16_t>(s.de() + step));
  s.setHl(static_cast<uint16_t>(s.hl() + step));
  s.setBc(static_cast<uint16_t>(s.bc() - 1));
  s.f = (s.f & (FLAG_S | FLAG_Z | FLAG_5 | FLAG_3 | FLAG_C)) | (s.bc() ? FLAG_PV : 0);
}

// One step of CPI (+1) or CPD (-1); returns whether the byte matched A.
Z80_INLINE bool BlockCompare(Core& c, int step) {
  Z80State& s = c.s;
  uint8_t v = c.Read(s.hl());
  s.setHl(static_cast<uint16_t>(s.hl() + step));
  s.setBc(static_cast<uint16_t>(s.bc() - 1));
  CpBlock(s, v);
  if (s.bc()) s.f |= FLAG_PV;
  return v == s.a;
}

// One step of INI (+1) or IND (-1).
Z80_INLINE void BlockIn(Core& c, int step) {
  Z80State& s = c.s;
  uint8_t v = c.In(s.bc());
  c.Write(s.hl(), v);
  s.setHl(static_cast<uint16_t>(s.hl() + step));
  --s.b;
  s.f = (((s.f & FLAG_C) | SzpFlags[v]) & ~FLAG_Z) | FLAG_N | (s.b ? 0 : FLAG_Z);
}

// One step of OUTI (+1) or OUTD (-1); the port is BC with B before its decrement.
Z80_INLINE void BlockOut(Core& c, int step) {
  Z80State& s = c.s;
  uint8_t v = c.Read(s.hl());
  c.Out(s.bc(), v);
  s.setHl(static_cast<uint16_t>(s.hl() + step));
  --s.b;
  s.f = (s.f & ~FLAG_Z) | FLAG_N | (s.b ? 0 : FLAG_Z);
}

// The repeating forms run one step per execution: while the condition holds they cost 5 more
// and step back onto themselves, so the slice may end and interrupts may be sampled between steps.
Z80_INLINE void RepeatIf(Core& c, bool again) {
  if (again) {
    c.count -= 5;
    c.pc -= 2;
  }
}

Z80_INLINE void ExecEdGroup(Core& c) {
  Z80State& s = c.s;
  uint8_t op = c.Fetch();
  ++s.r;
  switch (op) {
    // IN r,(C) and the flag-only IN (C)
    case 0x40:
      c.count -= 12;
      s.b = c.In(s.bc());
      s.f = (s.f & FLAG_C) | SzpFlags[s.b];
      break;
    case 0x48:
      c.count -= 12;
      s.c = c.In(s.bc());
      s.f = (s.f & FLAG_C) | SzpFlags[s.c];
      break;
    case 0x50:
      c.count -= 12;
      s.d = c.In(s.bc());
      s.f = (s.f & FLAG_C) | SzpFlags[s.d];
      break;
    case 0x58:
      c.count -= 12;
      s.e = c.In(s.bc());
      s.f = (s.f & FLAG_C) | SzpFlags[s.e];
      break;
    case 0x60:
      c.count -= 12;
      s.h = c.In(s.bc());
      s.f = (s.f & FLAG_C) | SzpFlags[s.h];
      break;
    case 0x68:
      c.count -= 12;
      s.l = c.In(s.bc());
      s.f = (s.f & FLAG_C) | SzpFlags[s.l];
      break;
    case 0x70:
      c.count -= 12;
      s.f = (s.f & FLAG_C) | SzpFlags[c.In(s.bc())];
      break;
    case 0x78:
      c.count -= 12;
      s.a = c.In(s.bc());
      s.f = (s.f & FLAG_C) | SzpFlags[s.a];
      break;

    // OUT (C),r
    case 0x41:
      c.count -= 12;
      c.Out(s.bc(), s.b);
      break;
    case 0x49:
      c.count -= 12;
      c.Out(s.bc(), s.c);
      break;
    case 0x51:
      c.count -= 12;
      c.Out(s.bc(), s.d);
      break;
    case 0x59:
      c.count -= 12;
      c.Out(s.bc(), s.e);
      break;
    case 0x61:
      c.count -= 12;
      c.Out(s.bc(), s.h);
      break;
    case 0x69:
      c.count -= 12;
      c.Out(s.bc(), s.l);
      break;
    case 0x79:
      c.count -= 12;
      c.Out(s.bc(), s.a);
      break;

    // SBC HL,rr and ADC HL,rr
    case 0x42:
      c.count -= 15;
      s.setHl(Sbc16(s, s.hl(), s.bc()));
      break;
    case 0x52:
      c.count -= 15;
      s.setHl(Sbc16(s, s.hl(), s.de()));
      break;
    case 0x62:
      c.count -= 15;
      s.setHl(Sbc16(s, s.hl(), s.hl()));
      break;
    case 0x72:
      c.count -= 15;
      s.setHl(Sbc16(s, s.hl(), s.sp));
      break;
    case 0x4A:
      c.count -= 15;
      s.setHl(Adc16(s, s.hl(), s.bc()));
      break;
    case 0x5A:
      c.count -= 15;
      s.setHl(Adc16(s, s.hl(), s.de()));
      break;
    case 0x6A:
      c.count -= 15;
      s.setHl(Adc16(s, s.hl(), s.hl()));
      break;
    case 0x7A:
      c.count -= 15;
      s.setHl(Adc16(s, s.hl(), s.sp));
      break;

    // LD (nn),rr and LD rr,(nn); 63 and 6B are the twins of the unprefixed HL forms
    case 0x43:
      c.count -= 20;
      c.Write16(c.FetchWord(), s.bc());
      break;
    case 0x53:
      c.count -= 20;
      c.Write16(c.FetchWord(), s.de());
      break;
    case 0x63:
      c.count -= 20;
      c.Write16(c.FetchWord(), s.hl());
      break;
    case 0x73:
      c.count -= 20;
      c.Write16(c.FetchWord(), s.sp);
      break;
    case 0x4B:
      c.count -= 20;
      s.setBc(c.Read16(c.FetchWord()));
      break;
    case 0x5B:
      c.count -= 20;
      s.setDe(c.Read16(c.FetchWord()));
      break;
    case 0x6B:
      c.count -= 20;
      s.setHl(c.Read16(c.FetchWord()));
      break;
    case 0x7B:
      c.count -= 20;
      s.sp = c.Read16(c.FetchWord());
      break;

    case 0x44: {  // NEG
      c.count -= 8;
      uint8_t v = s.a;
      s.a = 0;
      Sub8(s, v);
      break;
    }
    case 0x45:  // RETN: restores IFF1 and looks at pending requests at once
      c.count -= 8;
      s.iff1 = s.iff2;
      c.pc = c.Pop();
      s.nmiFlag = 0;
      c.SampleInterrupts();
      break;
    case 0x4D:  // RETI
      c.count -= 14;
      c.pc = c.Pop();
      s.nmiFlag = 0;
      break;
    case 0x46:
      c.count -= 8;
      s.im = 0;
      break;
    case 0x56:
      c.count -= 8;
      s.im = 1;
      break;
    case 0x5E:
      c.count -= 8;
      s.im = 2;
      break;

    case 0x47:
      c.count -= 9;
      s.i = s.a;
      break;
    case 0x4F:
      c.count -= 9;
      s.r = s.a;
      s.rBit7 = s.a & 0x80;
      break;
    case 0x57:
      c.count -= 9;
      s.a = s.i;
      s.f = (s.f & (FLAG_C | FLAG_5 | FLAG_3)) | SzFlags[s.a] | (s.iff2 ? FLAG_PV : 0);
      break;
    case 0x5F:
      c.count -= 9;
      s.a = (s.r & 0x7F) | s.rBit7;
      s.f = (s.f & FLAG_C) | SzFlags[s.a] | (s.iff2 ? FLAG_PV : 0);
      break;

    case 0x67: {  // RRD
      c.count -= 18;
      uint16_t address = s.hl();
      uint8_t v = c.Read(address);
      c.Write(address, static_cast<uint8_t>(s.a << 4 | v >> 4));
      s.a = (s.a & 0xF0) | (v & 0x0F);
      s.f = (s.f & FLAG_C) | SzpFlags[s.a];
      break;
    }
    case 0x6F: {  // RLD
      c.count -= 18;
      uint16_t address = s.hl();
      uint8_t v = c.Read(address);
      c.Write(address, static_cast<uint8_t>(v << 4 | (s.a & 0x0F)));
      s.a = (s.a & 0xF0) | (v >> 4);
      s.f = (s.f & FLAG_C) | SzpFlags[s.a];
      break;
    }

    case 0xA0:
      c.count -= 16;
      BlockLoad(c, 1);
      break;
    case 0xA8:
      c.count -= 16;
      BlockLoad(c, -1);
      break;
    case 0xA1:
      c.count -= 16;
      BlockCompare(c, 1);
      break;
    case 0xA9:
      c.count -= 16;
      BlockCompare(c, -1);
      break;
    case 0xA2:
      c.count -= 16;
      BlockIn(c, 1);
      break;
    case 0xAA:
      c.count -= 16;
      BlockIn(c, -1);
      break;
    case 0xA3:
      c.count -= 16;
      BlockOut(c, 1);
      break;
    case 0xAB:
      c.count -= 16;
      BlockOut(c, -1);
      break;

    case 0xB0:
      c.count -= 16;
      BlockLoad(c, 1);
      RepeatIf(c, s.bc() != 0);
      break;
    case 0xB8:
      c.count -= 16;
      BlockLoad(c, -1);
      RepeatIf(c, s.bc() != 0);
      break;
    case 0xB2:
      c.count -= 16;
      BlockIn(c, 1);
      RepeatIf(c, s.b != 0);
      break;
    case 0xBA:
      c.count -= 16;
      BlockIn(c, -1);
      RepeatIf(c, s.b != 0);
      break;
    case 0xB3:
      c.count -= 16;
      BlockOut(c, 1);
      RepeatIf(c, s.b != 0);
      break;
    case 0xBB:
      c.count -= 16;
      BlockOut(c, -1);
      RepeatIf(c, s.b != 0);
      break;
    case 0xB9: {
      c.count -= 16;
      bool found = BlockCompare(c, -1);
      RepeatIf(c, s.bc() != 0 && !found);
      break;
    }
    case 0xB1: {  // CPIR searches to the end in one execution, 21 T-states per further byte
      c.count -= 16;
      while (!BlockCompare(c, 1) && s.bc() != 0) c.count -= 21;
      break;
    }

    default:  // unsupported: both bytes consumed, the slice ends
      c.EndSlice();
      break;
  }
}

}  // namespace z80
