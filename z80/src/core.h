// The working state of one Z80Run call and the data path every instruction group uses.
// Everything here is force-inlined into the run loop, so PC and the count stay in machine
// registers; only the registers of the context live in memory.
#pragma once

#include <cstdint>

#include "z80/flags.h"
#include "z80/timing.h"
#include "z80/z80.h"

#define Z80_INLINE [[gnu::always_inline]] inline

namespace z80 {

// Slow paths, kept out of line and given plain values so the run's locals never escape.
// Before every handler call the remaining count is published in the caller's budget variable.
[[gnu::noinline]] inline uint8_t ReadThroughHandler(MemoryHandler* handlers, int32_t* budget,
                                                    int32_t count, uint16_t address, uint8_t tag) {
  int index = tag & TAG_INDEX_MASK;
  MemoryReadFn read = handlers[index].read;
  if (!read) return 0xFF;  // a trap without a reader reads as an open bus
  *budget = count;
  return read(address, count, index);
}

[[gnu::noinline]] inline void WriteThroughHandler(MemoryHandler* handlers, int32_t* budget,
                                                  int32_t count, uint16_t address, uint8_t value,
                                                  uint8_t tag) {
  if (tag == TAG_READ_ONLY) return;
  int index = tag & TAG_INDEX_MASK;
  MemoryWriteFn write = handlers[index].write;
  if (!write) return;
  *budget = count;
  write(address, value, index, &handlers[index]);
}

// Ports go through entry 0 with the masked port number; IN also passes the full number.
[[gnu::noinline]] inline uint8_t PortIn(MemoryHandler* handlers, int32_t* budget, int32_t count,
                                        uint32_t portMask, uint16_t port) {
  MemoryReadFn read = handlers[0].read;
  if (!read) return 0xFF;
  *budget = count;
  return read(static_cast<uint16_t>(port & portMask), port, 0);
}

[[gnu::noinline]] inline void PortOut(MemoryHandler* handlers, int32_t* budget, int32_t count,
                                      uint32_t portMask, uint16_t port, uint8_t value) {
  MemoryWriteFn write = handlers[0].write;
  if (!write) return;
  *budget = count;
  write(static_cast<uint16_t>(port & portMask), value, 0, &handlers[0]);
}

struct Core {
  AddressSpace* mem;
  Z80State& s;
  MemoryHandler* handlers;
  int32_t* budget;
  uint8_t* requests;
  int32_t count;
  uint16_t pc;
  bool eiPending;  // EI has set the rest of the budget aside; sample after the next instruction
  int32_t eiRemainder;

  // Opcode and operand fetches never look at tags.
  Z80_INLINE uint8_t Fetch() { return mem[pc++]; }
  Z80_INLINE uint16_t FetchWord() {
    uint16_t lo = mem[pc++];
    return static_cast<uint16_t>(lo | mem[pc++] << 8);
  }
  Z80_INLINE uint16_t FetchIndexed(uint16_t base) {
    return static_cast<uint16_t>(base + static_cast<int8_t>(Fetch()));
  }

  Z80_INLINE uint8_t Read(uint16_t address) {
    uint8_t tag = mem[kTagOffset + address];
    if (tag & TAG_READ_TRAP) [[unlikely]]
      return ReadTrapped(address, tag);
    return mem[address];
  }
  Z80_INLINE void Write(uint16_t address, uint8_t value) {
    uint8_t tag = mem[kTagOffset + address];
    if (tag & TAG_WRITE_TRAP) [[unlikely]]
      WriteTrapped(address, value, tag);
    else
      mem[address] = value;
  }
  Z80_INLINE uint16_t Read16(uint16_t address) {
    uint8_t lo = Read(address);
    return static_cast<uint16_t>(lo | Read(static_cast<uint16_t>(address + 1)) << 8);
  }
  Z80_INLINE void Write16(uint16_t address, uint16_t value) {
    Write(address, static_cast<uint8_t>(value));
    Write(static_cast<uint16_t>(address + 1), static_cast<uint8_t>(value >> 8));
  }
  Z80_INLINE void Push(uint16_t value) {
    Write(--s.sp, static_cast<uint8_t>(value >> 8));
    Write(--s.sp, static_cast<uint8_t>(value));
  }
  Z80_INLINE uint16_t Pop() {
    uint8_t lo = Read(s.sp++);
    return static_cast<uint16_t>(lo | Read(s.sp++) << 8);
  }

  Z80_INLINE uint8_t ReadTrapped(uint16_t address, uint8_t tag) {
    return ReadThroughHandler(handlers, budget, count, address, tag);
  }
  Z80_INLINE void WriteTrapped(uint16_t address, uint8_t value, uint8_t tag) {
    WriteThroughHandler(handlers, budget, count, address, value, tag);
  }
  Z80_INLINE uint8_t In(uint16_t port) { return PortIn(handlers, budget, count, s.portMask, port); }
  Z80_INLINE void Out(uint16_t port, uint8_t value) {
    PortOut(handlers, budget, count, s.portMask, port, value);
  }

  // HALT, idle loops and unsupported opcodes give up the rest of the slice.
  Z80_INLINE void EndSlice() { count = 0; }

  Z80_INLINE void EnableInterrupts() {
    s.iff1 = s.iff2 = 1;
    s.nmiFlag = 0;
    eiRemainder += count - 1;
    count = 1;
    eiPending = true;
  }
  Z80_INLINE void DisableInterrupts() {
    s.iff1 = s.iff2 = 0;
    if (eiPending) {
      count += eiRemainder;
      eiRemainder = 0;
      eiPending = false;
    }
  }

  // Looks at the request byte: leaves HALT, accepts an NMI or a maskable interrupt.
  Z80_INLINE void SampleInterrupts() {
    uint8_t pending = *requests;
    if (pending == 0) return;
    if (s.halted) {
      s.halted = 0;
      ++pc;
    }
    if (pending & Z80_REQ_NMI) {
      *requests &= ~Z80_REQ_NMI;
      s.nmiFlag = 1;
      Push(pc);
      pc = 0x0066;
      s.iff1 = 0;
      count -= 11;
    }
    if ((*requests & Z80_REQ_IRQ) && s.iff1) {
      *requests &= ~Z80_REQ_IRQ;
      s.iff1 = s.iff2 = 0;
      if (s.im == 2) {
        count -= 19;
        Push(pc);
        pc = Read16(static_cast<uint16_t>(s.i << 8 | s.irqData));
      } else if (s.im == 1) {
        count -= 13 + MainCycles[0xFF];
        Push(pc);
        pc = 0x0038;
      } else {
        // Mode 0 executes the byte on the bus. The board never drives the bus, so the byte is 0
        // (nothing to execute); a restart instruction is honoured, other bytes are ignored.
        count -= 13;
        uint8_t op = s.irqData;
        if ((op & 0xC7) == 0xC7) {
          count -= MainCycles[op];
          Push(pc);
          pc = op & 0x38;
        }
      }
    }
  }
};

// Register operands by their 3-bit code: 0 B, 1 C, 2 D, 3 E, 4 H, 5 L, 7 A (6 is memory).
template <unsigned R>
Z80_INLINE uint8_t& Reg8(Z80State& s) {
  static_assert(R != 6 && R < 8);
  if constexpr (R == 0) return s.b;
  if constexpr (R == 1) return s.c;
  if constexpr (R == 2) return s.d;
  if constexpr (R == 3) return s.e;
  if constexpr (R == 4) return s.h;
  if constexpr (R == 5) return s.l;
  if constexpr (R == 7) return s.a;
}

// Register pairs by their 2-bit code: 0 BC, 1 DE, 2 HL (or the index register), 3 SP.
template <unsigned P>
Z80_INLINE uint16_t GetPair(Z80State& s, uint16_t hl) {
  if constexpr (P == 0) return s.bc();
  if constexpr (P == 1) return s.de();
  if constexpr (P == 2) return hl;
  if constexpr (P == 3) return s.sp;
}
template <unsigned P>
Z80_INLINE void SetPair(Z80State& s, uint16_t value) {
  if constexpr (P == 0) s.setBc(value);
  if constexpr (P == 1) s.setDe(value);
  if constexpr (P == 2) s.setHl(value);
  if constexpr (P == 3) s.sp = value;
}

// Condition codes by their 3-bit code: NZ, Z, NC, C, PO, PE, P, M.
template <unsigned Cc>
Z80_INLINE bool Condition(const Z80State& s) {
  constexpr uint8_t kFlag[4] = {FLAG_Z, FLAG_C, FLAG_PV, FLAG_S};
  bool set = s.f & kFlag[Cc >> 1];
  return (Cc & 1) ? set : !set;
}

// The eight accumulator operations by their 3-bit code: ADD ADC SUB SBC AND XOR OR CP.
template <unsigned Op>
Z80_INLINE void Alu(Z80State& s, uint8_t x) {
  if constexpr (Op == 0) Add8(s, x);
  if constexpr (Op == 1) Adc8(s, x);
  if constexpr (Op == 2) Sub8(s, x);
  if constexpr (Op == 3) Sbc8(s, x);
  if constexpr (Op == 4) s.f = SzpFlags[s.a &= x] | FLAG_H;
  if constexpr (Op == 5) s.f = SzpFlags[s.a ^= x];
  if constexpr (Op == 6) s.f = SzpFlags[s.a |= x];
  if constexpr (Op == 7) Cp8(s, x);
}

// The eight CB rotates and shifts by their 3-bit code.
template <unsigned Op>
Z80_INLINE uint8_t Shift(Z80State& s, uint8_t v) {
  if constexpr (Op == 0) return Rlc(s, v);
  if constexpr (Op == 1) return Rrc(s, v);
  if constexpr (Op == 2) return Rl(s, v);
  if constexpr (Op == 3) return Rr(s, v);
  if constexpr (Op == 4) return Sla(s, v);
  if constexpr (Op == 5) return Sra(s, v);
  if constexpr (Op == 6) return Sll(s, v);
  if constexpr (Op == 7) return Srl(s, v);
}

// BIT n: carry kept, H set, Z and P/V when the bit is clear, S for a set bit 7.
template <unsigned Bit>
Z80_INLINE void TestBit(Z80State& s, uint8_t v) {
  uint8_t bit = v & (1u << Bit);
  s.f = (s.f & FLAG_C) | FLAG_H | (bit ? (bit & FLAG_S) : (FLAG_Z | FLAG_PV));
}

}  // namespace z80

// Expands Z80_CASE(n) for n = 0..255; each group's dispatch switch is built from it.
// clang-format off
#define Z80_CASES_16(base) \
  Z80_CASE(base + 0x0) Z80_CASE(base + 0x1) Z80_CASE(base + 0x2) Z80_CASE(base + 0x3) \
  Z80_CASE(base + 0x4) Z80_CASE(base + 0x5) Z80_CASE(base + 0x6) Z80_CASE(base + 0x7) \
  Z80_CASE(base + 0x8) Z80_CASE(base + 0x9) Z80_CASE(base + 0xA) Z80_CASE(base + 0xB) \
  Z80_CASE(base + 0xC) Z80_CASE(base + 0xD) Z80_CASE(base + 0xE) Z80_CASE(base + 0xF)
#define Z80_CASES_256 \
  Z80_CASES_16(0x00) Z80_CASES_16(0x10) Z80_CASES_16(0x20) Z80_CASES_16(0x30) \
  Z80_CASES_16(0x40) Z80_CASES_16(0x50) Z80_CASES_16(0x60) Z80_CASES_16(0x70) \
  Z80_CASES_16(0x80) Z80_CASES_16(0x90) Z80_CASES_16(0xA0) Z80_CASES_16(0xB0) \
  Z80_CASES_16(0xC0) Z80_CASES_16(0xD0) Z80_CASES_16(0xE0) Z80_CASES_16(0xF0)
// clang-format on
