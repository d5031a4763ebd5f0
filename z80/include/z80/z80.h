// Z80 processor core: an interpreter with no processor object of its own.
//
// A processor is the triple of its context (Z80State), its memory image (AddressSpace, 128 KiB:
// 64 KiB of contents, then one access tag per address) and its handler table (MemoryHandler[],
// at most 64 entries). The caller owns all three and passes them on every call, so one core
// serves any number of processors, run one after the other.
//
// Memory: opcode and operand fetches read the contents directly; data reads and writes look at
// the address's tag. TAG_READ_TRAP sends a read to handlers[tag & TAG_INDEX_MASK].read,
// TAG_WRITE_TRAP sends a write to its write function (the core then stores nothing), and the tag
// TAG_READ_ONLY drops writes. Ports (IN/OUT and the block I/O forms) go to entry 0 with the port
// number ANDed with the context's port mask. Before every handler call the core stores the
// remaining T-states into the caller's budget variable, so a handler can tell how far the slice
// has run.
//
// Timing: T-states come from per-opcode tables; the budget is signed and may end negative by the
// last instruction's overshoot. HALT, a `JR $` idle loop and an unsupported opcode end the slice
// at once with a count of exactly 0. Interrupts are sampled at the start of each run, after the
// instruction that follows EI, and after RETN, never between other instructions.
//
// Not emulated: per-cycle bus timing, the undocumented flag bits 5 and 3 (kept or cleared, never
// derived from results), the undocumented DD CB / FD CB register-copy forms, the ED mirrors.
//
// Usage:
//
//   static uint8_t space[z80::kAddressSpaceBytes];     // contents, then tags; 0 = plain RAM
//   z80::MemoryHandler handlers[1] = {{ReadPort, WritePort}};
//   z80::Z80State cpu{};
//   uint8_t requests = 0;
//   z80::Z80Reset(cpu, 0xFF);
//   for (;;) {
//     int32_t budget = 25600;
//     z80::Z80Run(space, cpu, handlers, &budget, &requests);   // budget ends <= 0
//     requests |= z80::Z80_REQ_NMI;                            // e.g. a frame interrupt
//   }
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace z80 {

static_assert(std::endian::native == std::endian::little,
              "the stored context layout is little-endian and is accessed in place");

// Processor context in its stored form: exactly 192 bytes, little-endian, fixed offsets.
// Save states keep it byte for byte; bytes without a name stay zero.
struct Z80State {
  uint8_t reserved[128];
  uint8_t f, a;
  uint8_t zeroAf[2];
  uint8_t c, b;
  uint8_t zeroBc[2];
  uint8_t e, d;
  uint8_t zeroDe[2];
  uint8_t l, h;
  uint8_t zeroHl[2];
  uint16_t ix;  // IXH is the high byte
  uint8_t zeroIx[2];
  uint16_t iy;
  uint8_t zeroIy[2];
  uint16_t sp;
  uint8_t zeroSp[2];
  uint16_t pc;  // written back only when Z80Run returns
  uint8_t zeroPc[2];
  uint32_t portMask;  // ANDed with every port number a handler sees
  uint8_t i;
  uint8_t r;        // counts whole-byte; the visible value is (r & 0x7F) | rBit7
  uint8_t rBit7;    // bit 7 of the value last loaded by LD R,A
  uint8_t nmiFlag;  // 1 from NMI acceptance until EI, RETI or RETN; informational
  uint8_t im;
  uint8_t iff1;
  uint8_t iff2;
  uint8_t irqData;  // byte on the bus during a maskable interrupt (mode 0 opcode, mode 2 vector)
  uint8_t halted;
  uint8_t zeroHalted;
  uint16_t af2, zeroAf2;
  uint16_t bc2, zeroBc2;
  uint16_t de2, zeroDe2;
  uint16_t hl2;
  uint8_t zeroTail[4];

  uint16_t af() const { return static_cast<uint16_t>(a << 8 | f); }
  uint16_t bc() const { return static_cast<uint16_t>(b << 8 | c); }
  uint16_t de() const { return static_cast<uint16_t>(d << 8 | e); }
  uint16_t hl() const { return static_cast<uint16_t>(h << 8 | l); }
  void setAf(uint16_t v) { a = v >> 8, f = v & 0xFF; }
  void setBc(uint16_t v) { b = v >> 8, c = v & 0xFF; }
  void setDe(uint16_t v) { d = v >> 8, e = v & 0xFF; }
  void setHl(uint16_t v) { h = v >> 8, l = v & 0xFF; }
};

static_assert(sizeof(Z80State) == 192);
static_assert(offsetof(Z80State, f) == 128 && offsetof(Z80State, a) == 129);
static_assert(offsetof(Z80State, c) == 132 && offsetof(Z80State, b) == 133);
static_assert(offsetof(Z80State, e) == 136 && offsetof(Z80State, d) == 137);
static_assert(offsetof(Z80State, l) == 140 && offsetof(Z80State, h) == 141);
static_assert(offsetof(Z80State, ix) == 144 && offsetof(Z80State, iy) == 148);
static_assert(offsetof(Z80State, sp) == 152 && offsetof(Z80State, pc) == 156);
static_assert(offsetof(Z80State, portMask) == 160 && offsetof(Z80State, i) == 164);
static_assert(offsetof(Z80State, r) == 165 && offsetof(Z80State, halted) == 172);
static_assert(offsetof(Z80State, af2) == 174 && offsetof(Z80State, bc2) == 178);
static_assert(offsetof(Z80State, de2) == 182 && offsetof(Z80State, hl2) == 186);

// A processor's memory image: contents at [0, 0x10000), the tag of address a at 0x10000 + a.
using AddressSpace = uint8_t;
inline constexpr std::size_t kAddressSpaceBytes = 0x20000;
inline constexpr std::size_t kTagOffset = 0x10000;

inline constexpr uint8_t TAG_INDEX_MASK = 0x3F;
inline constexpr uint8_t TAG_READ_TRAP = 0x40;
inline constexpr uint8_t TAG_WRITE_TRAP = 0x80;
inline constexpr uint8_t TAG_READ_ONLY = 0xBF;  // writes dropped, reads plain

// Interrupt request byte bits; the machine sets them, the core clears a bit on acceptance.
inline constexpr uint8_t Z80_REQ_NMI = 0x01;
inline constexpr uint8_t Z80_REQ_IRQ = 0x04;

struct MemoryHandler;
// address, T-states remaining in the run, entry index -> byte read.
using MemoryReadFn = uint8_t (*)(uint16_t address, int32_t remaining, int index);
// address, byte, entry index, the entry itself.
using MemoryWriteFn = void (*)(uint16_t address, uint8_t value, int index, MemoryHandler* entry);

// One handler table entry; entry 0 also serves the processor's ports.
struct MemoryHandler {
  MemoryReadFn read;
  MemoryWriteFn write;
};

// Start state: PC 0, IX = IY = 0xFFFF, F = 0x40, R pseudo-random, the given port mask.
// Every other field keeps its value.
void Z80Reset(Z80State& state, uint32_t portMask);

// Runs the processor until the budget is used up (or HALT, an idle loop or an unsupported opcode
// ends the slice). On return state.pc is the next instruction and *budget the remaining count
// (zero or the negative overshoot). Only one run may be active at a time.
void Z80Run(AddressSpace* space, Z80State& state, MemoryHandler* handlers, int32_t* budget,
            uint8_t* requests);

}  // namespace z80
