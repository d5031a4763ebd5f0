// Processor tests as short byte programs: each case lists its bytes with the assembly beside them,
// sets up registers, runs one slice and checks the outcome.
#include "z80/z80.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "z80/flags.h"
#include "z80/timing.h"

namespace z80 {
namespace {

struct HandlerCall {
  char kind;  // 'r' read, 'w' write
  uint16_t address;
  int32_t second;  // read: remaining count or full port number; write: the byte
  int32_t budgetSeen;
  bool operator==(const HandlerCall&) const = default;
};

// A processor with plain RAM, a handler table whose entries record their calls, and a budget
// variable that handlers can look at.
class Cpu {
 public:
  Cpu() {
    current = this;
    for (auto& h : handlers) h = {&Cpu::Read, &Cpu::Write};
  }
  ~Cpu() { current = nullptr; }

  void Load(std::vector<uint8_t> bytes, uint16_t at = 0) {
    for (uint8_t b : bytes) space[at++] = b;
  }
  void Tag(uint16_t address, uint8_t tag) { space[kTagOffset + address] = tag; }
  uint16_t Read16(uint16_t address) const {
    return static_cast<uint16_t>(space[address] | space[address + 1] << 8);
  }

  // Runs one slice with the given budget and returns the T-states it used.
  int32_t Run(int32_t slice) {
    budget = slice;
    Z80Run(space.get(), state, handlers, &budget, &requests);
    return slice - budget;
  }

  std::unique_ptr<AddressSpace[]> space = std::make_unique<AddressSpace[]>(kAddressSpaceBytes);
  Z80State state{};
  MemoryHandler handlers[4]{};
  int32_t budget = 0;
  uint8_t requests = 0;
  uint8_t readValue = 0x5A;
  std::vector<HandlerCall> calls;

 private:
  static inline Cpu* current = nullptr;
  static uint8_t Read(uint16_t address, int32_t second, int) {
    current->calls.push_back({'r', address, second, current->budget});
    return current->readValue;
  }
  static void Write(uint16_t address, uint8_t value, int, MemoryHandler*) {
    current->calls.push_back({'w', address, value, current->budget});
  }
};

using Prepare = std::function<void(Cpu&)>;
using Check = std::function<void(Cpu&)>;

struct ProgramCase {
  const char* name;
  std::vector<uint8_t> bytes;
  Prepare setup;
  Check check;
};

// Loads a case's program at 0 with the stack at 0xF000 and applies its set-up.
void Prime(Cpu& cpu, const std::vector<uint8_t>& bytes, const Prepare& setup) {
  cpu.state.sp = 0xF000;
  cpu.Load(bytes);
  if (setup) setup(cpu);
}

void RunCases(const std::vector<ProgramCase>& cases, int32_t slice = 1) {
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.name);
    Cpu cpu;
    Prime(cpu, tc.bytes, tc.setup);
    cpu.Run(slice);
    tc.check(cpu);
  }
}

TEST(FlagTables, FollowTheirRules) {
  EXPECT_EQ(SzFlags[0x00], FLAG_Z);
  EXPECT_EQ(SzFlags[0x80], FLAG_S);
  EXPECT_EQ(SzpFlags[0x03], FLAG_PV);
  EXPECT_EQ(SzpFlags[0x01], 0);
  EXPECT_EQ(IncFlags[0x80], FLAG_S | FLAG_H | FLAG_PV);
  EXPECT_EQ(DecFlags[0x7F], FLAG_H | FLAG_PV | FLAG_N);
  EXPECT_EQ(DaaTable[0x000], 0x4400);  // A = 0x00, F = Z | P/V
  EXPECT_EQ(DaaTable[0x00A], 0x1010);  // A = 0x10, F = H
  EXPECT_EQ(DaaTable[0x19A], 0x5500);  // A = 0x00, F = Z | H | P/V | C
}

TEST(Arithmetic, SetsFlagsLikeTheRules) {
  RunCases({
      {"ADD A,B overflows into the sign",
       {0x80},  // ADD A,B
       [](Cpu& c) { c.state.a = 0x7F, c.state.b = 0x01, c.state.f = FLAG_5 | FLAG_3; },
       [](Cpu& c) {
         EXPECT_EQ(c.state.a, 0x80);
         EXPECT_EQ(c.state.f, FLAG_S | FLAG_H | FLAG_PV | FLAG_5 | FLAG_3);
       }},
      {"SUB borrows",
       {0xD6, 0x01},  // SUB 1
       [](Cpu& c) { c.state.a = 0x00; },
       [](Cpu& c) {
         EXPECT_EQ(c.state.a, 0xFF);
         EXPECT_EQ(c.state.f, FLAG_S | FLAG_H | FLAG_N | FLAG_C);
       }},
      {"INC wraps to zero, carry kept",
       {0x3C},  // INC A
       [](Cpu& c) { c.state.a = 0xFF, c.state.f = FLAG_C; },
       [](Cpu& c) {
         EXPECT_EQ(c.state.a, 0x00);
         EXPECT_EQ(c.state.f, FLAG_Z | FLAG_H | FLAG_C);
       }},
      {"DEC 0x80",
       {0x05},  // DEC B
       [](Cpu& c) { c.state.b = 0x80; },
       [](Cpu& c) {
         EXPECT_EQ(c.state.b, 0x7F);
         EXPECT_EQ(c.state.f, FLAG_H | FLAG_PV | FLAG_N);
       }},
      {"ADD HL,DE keeps S Z P/V, clears 5 3 N",
       {0x19},  // ADD HL,DE
       [](Cpu& c) {
         c.state.setHl(0x0FFF), c.state.setDe(0x0001);
         c.state.f = FLAG_S | FLAG_Z | FLAG_PV | FLAG_5 | FLAG_3 | FLAG_N;
       },
       [](Cpu& c) {
         EXPECT_EQ(c.state.hl(), 0x1000);
         EXPECT_EQ(c.state.f, FLAG_S | FLAG_Z | FLAG_PV | FLAG_H);
       }},
      {"SBC HL,DE with borrow in",
       {0xED, 0x52},  // SBC HL,DE
       [](Cpu& c) { c.state.setHl(0x0000), c.state.setDe(0xFFFF), c.state.f = FLAG_C; },
       [](Cpu& c) {
         EXPECT_EQ(c.state.hl(), 0x0000);
         EXPECT_EQ(c.state.f, FLAG_Z | FLAG_H | FLAG_N | FLAG_C);
       }},
      {"ADC HL,BC carries out",
       {0xED, 0x4A},  // ADC HL,BC
       [](Cpu& c) { c.state.setHl(0xFFFF), c.state.setBc(0x0001); },
       [](Cpu& c) {
         EXPECT_EQ(c.state.hl(), 0x0000);
         EXPECT_EQ(c.state.f, FLAG_Z | FLAG_H | FLAG_C);
       }},
      {"BIT 7,A on a set bit",
       {0xCB, 0x7F},  // BIT 7,A
       [](Cpu& c) { c.state.a = 0x80, c.state.f = FLAG_Z; },
       [](Cpu& c) { EXPECT_EQ(c.state.f, FLAG_S | FLAG_H); }},
      {"BIT 0,(IY+d) on an even byte keeps only carry",
       {0xFD, 0xCB, 0x02, 0x46},
       [](Cpu& c) {
         c.state.iy = 0x4000, c.space[0x4002] = 0x02;
         c.state.f = FLAG_C | FLAG_S | FLAG_5 | FLAG_3 | FLAG_N;
       },
       [](Cpu& c) { EXPECT_EQ(c.state.f, FLAG_C | FLAG_Z | FLAG_PV | FLAG_H); }},
      {"DAA after 0x15 + 0x27",
       {0x27},  // DAA
       [](Cpu& c) { c.state.a = 0x3C, c.state.f = 0; },
       [](Cpu& c) {
         EXPECT_EQ(c.state.a, 0x42);
         EXPECT_EQ(c.state.f, FLAG_H | FLAG_PV);
       }},
      {"XOR A",
       {0xAF},  // XOR A
       [](Cpu& c) { c.state.a = 0x5C, c.state.f = 0xFF; },
       [](Cpu& c) {
         EXPECT_EQ(c.state.a, 0);
         EXPECT_EQ(c.state.f, FLAG_Z | FLAG_PV);
       }},
      {"SLL (HL) shifts a one in",
       {0xCB, 0x36},  // SLL (HL)
       [](Cpu& c) { c.state.setHl(0x4000), c.space[0x4000] = 0x80; },
       [](Cpu& c) {
         EXPECT_EQ(c.space[0x4000], 0x01);
         EXPECT_TRUE(c.state.f & FLAG_C);
       }},
      {"DD 09 with IX = 0xFFFF",
       {0xDD, 0x09},  // ADD IX,BC
       [](Cpu& c) { c.state.ix = 0xFFFF, c.state.setBc(1), c.state.f = FLAG_5 | FLAG_3; },
       [](Cpu& c) {
         EXPECT_EQ(c.state.ix, 0x0000);
         EXPECT_EQ(c.state.f, FLAG_H | FLAG_C);
       }},
  });
}

TEST(Timing, ChargesTheTableAndTheTakenExtras) {
  struct TimingCase {
    const char* name;
    std::vector<uint8_t> bytes;
    Prepare setup;
    int32_t tstates;
  };
  auto zero = [](Cpu& c) { c.state.f = FLAG_Z; };
  auto nonzero = [](Cpu& c) { c.state.f = 0; };
  std::vector<TimingCase> cases = {
      {"NOP", {0x00}, nullptr, 4},
      {"LD (nn),HL", {0x22, 0x00, 0x40}, nullptr, 16},
      {"EX (SP),HL", {0xE3}, nullptr, 19},
      {"JP NZ,nn taken", {0xC2, 0x00, 0x10}, nonzero, 15},
      {"JP NZ,nn not taken", {0xC2, 0x00, 0x10}, zero, 10},
      {"JR NZ taken", {0x20, 0x05}, nonzero, 12},
      {"JR NZ not taken", {0x20, 0x05}, zero, 7},
      {"DJNZ falls through", {0x10, 0x05}, [](Cpu& c) { c.state.b = 1; }, 8},
      {"DJNZ jumps", {0x10, 0x05}, [](Cpu& c) { c.state.b = 2; }, 13},
      {"RET NZ taken", {0xC0}, nonzero, 11},
      {"RET NZ not taken", {0xC0}, zero, 5},
      {"CALL NZ taken", {0xC4, 0x00, 0x10}, nonzero, 17},
      {"CALL NZ not taken", {0xC4, 0x00, 0x10}, zero, 10},
      {"RLC B", {0xCB, 0x00}, nullptr, 8},
      {"SLL B", {0xCB, 0x30}, nullptr, 8},
      {"RLC (HL)", {0xCB, 0x06}, nullptr, 15},
      {"SLL (HL)", {0xCB, 0x36}, nullptr, 15},
      {"BIT 0,(HL)", {0xCB, 0x46}, nullptr, 12},
      {"SET 0,B", {0xCB, 0xC0}, nullptr, 8},
      {"LD B,C with a DD prefix", {0xDD, 0x41}, nullptr, 8},
      {"LD A,(IX+d)", {0xDD, 0x7E, 0x01}, nullptr, 19},
      {"INC IXH", {0xDD, 0x24}, nullptr, 4},
      {"EX (SP),IX", {0xDD, 0xE3}, nullptr, 23},
      {"BIT 0,(IX+d)", {0xDD, 0xCB, 0x01, 0x46}, nullptr, 20},
      {"RLC (IX+d)", {0xDD, 0xCB, 0x01, 0x06}, nullptr, 23},
      {"SLL (IX+d)", {0xDD, 0xCB, 0x01, 0x36}, nullptr, 23},
      {"RETN", {0xED, 0x45}, nullptr, 8},
      {"RETI", {0xED, 0x4D}, nullptr, 14},
      {"RRD", {0xED, 0x67}, nullptr, 18},
      {"LD A,R", {0xED, 0x5F}, nullptr, 9},
      {"SBC HL,BC", {0xED, 0x42}, nullptr, 15},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.name);
    Cpu cpu;
    Prime(cpu, tc.bytes, tc.setup);
    EXPECT_EQ(cpu.Run(1), tc.tstates);
  }
}

TEST(RunLoop, BudgetOfOneRunsOneInstruction) {
  Cpu cpu;
  cpu.Load({0x00, 0x00});  // NOP ; NOP
  EXPECT_EQ(cpu.Run(1), 4);
  EXPECT_EQ(cpu.budget, -3);
  EXPECT_EQ(cpu.state.pc, 1);
}

TEST(RunLoop, EiLetsOneMoreInstructionRunBeforeSampling) {
  Cpu cpu;
  cpu.state.sp = 0xF000;
  cpu.state.im = 1;
  cpu.Load({0xFB, 0x00, 0x00});  // EI ; NOP ; NOP
  cpu.requests = Z80_REQ_IRQ;
  EXPECT_EQ(cpu.Run(1), 4 + 4 + 24);  // EI, the NOP after it, then the interrupt
  EXPECT_EQ(cpu.state.pc, 0x0038);
  EXPECT_EQ(cpu.Read16(0xEFFE), 0x0002);  // returns to the second NOP
  EXPECT_EQ(cpu.requests, 0);
}

TEST(RunLoop, EiThenDiAcceptsNothing) {
  Cpu cpu;
  cpu.state.im = 1;
  cpu.Load({0xFB, 0xF3, 0x00});  // EI ; DI ; NOP
  cpu.requests = Z80_REQ_IRQ;
  cpu.Run(100);
  EXPECT_EQ(cpu.requests, Z80_REQ_IRQ);
  EXPECT_EQ(cpu.state.iff1, 0);
}

TEST(RunLoop, EiDelayKeepsTheSliceTotal) {
  Cpu cpu;
  std::vector<uint8_t> program(64, 0x00);  // NOPs with an EI in the middle
  program[10] = 0xFB;
  cpu.Load(program);
  cpu.Run(100);
  EXPECT_EQ(cpu.budget, 0);
  EXPECT_EQ(cpu.state.pc, 25);
}

TEST(RunLoop, EiAsTheLastInstructionStillRunsOneMore) {
  Cpu cpu;
  cpu.Load({0x00, 0xFB, 0x00, 0x00});  // NOP ; EI ; NOP ; NOP
  cpu.Run(8);
  EXPECT_EQ(cpu.state.pc, 3);
  EXPECT_EQ(cpu.budget, -4);
}

TEST(Interrupts, ZeroBudgetStillAcceptsAModeOneInterrupt) {
  Cpu cpu;
  cpu.state.sp = 0xF000, cpu.state.im = 1, cpu.state.iff1 = cpu.state.iff2 = 1;
  cpu.requests = Z80_REQ_IRQ;
  cpu.Run(0);
  EXPECT_EQ(cpu.budget, -24);
  EXPECT_EQ(cpu.state.pc, 0x0038);
  EXPECT_EQ(cpu.state.iff1, 0);
  EXPECT_EQ(cpu.state.iff2, 0);
}

TEST(Interrupts, NmiWinsAndTheMaskableRequestWaits) {
  Cpu cpu;
  cpu.state.sp = 0xF000, cpu.state.pc = 0x1234, cpu.state.im = 1;
  cpu.state.iff1 = cpu.state.iff2 = 1;
  cpu.requests = Z80_REQ_NMI | Z80_REQ_IRQ;
  cpu.Run(0);
  EXPECT_EQ(cpu.state.pc, 0x0066);
  EXPECT_EQ(cpu.requests, Z80_REQ_IRQ);
  EXPECT_EQ(cpu.state.iff1, 0);
  EXPECT_EQ(cpu.state.iff2, 1);
  EXPECT_EQ(cpu.state.nmiFlag, 1);
  EXPECT_EQ(cpu.budget, -11);
  EXPECT_EQ(cpu.Read16(0xEFFE), 0x1234);
}

TEST(Interrupts, ModeTwoReadsTheVectorTable) {
  Cpu cpu;
  cpu.state.sp = 0xF000, cpu.state.im = 2, cpu.state.i = 0x80, cpu.state.iff1 = 1;
  cpu.Load({0x34, 0x12}, 0x8000);
  cpu.requests = Z80_REQ_IRQ;
  cpu.Run(0);
  EXPECT_EQ(cpu.state.pc, 0x1234);
  EXPECT_EQ(cpu.budget, -19);
}

TEST(Interrupts, RetnRestoresIff1AndTakesAPendingRequestAtOnce) {
  Cpu cpu;
  cpu.state.sp = 0xEFFE, cpu.state.im = 1, cpu.state.iff2 = 1, cpu.state.nmiFlag = 1;
  cpu.Load({0x00, 0x10}, 0xEFFE);  // return address 0x1000
  cpu.Load({0xED, 0x45});          // RETN
  cpu.requests = Z80_REQ_IRQ;
  EXPECT_EQ(cpu.Run(1), 8 + 24);
  EXPECT_EQ(cpu.state.pc, 0x0038);
  EXPECT_EQ(cpu.state.nmiFlag, 0);
  EXPECT_EQ(cpu.Read16(0xEFFE), 0x1000);
}

TEST(Halt, EndsTheSliceAndWaitsForARequest) {
  Cpu cpu;
  cpu.Load({0x00, 0x76, 0x00});  // NOP ; HALT ; NOP
  cpu.Run(1000);
  EXPECT_EQ(cpu.budget, 0);
  EXPECT_EQ(cpu.state.pc, 1);
  EXPECT_EQ(cpu.state.halted, 1);
  cpu.Run(1000);  // halted slices execute the HALT again and end
  EXPECT_EQ(cpu.state.pc, 1);
  EXPECT_EQ(cpu.budget, 0);
}

TEST(Halt, AnyRequestLeavesHaltEvenWhenNotAccepted) {
  Cpu cpu;
  cpu.Load({0x76, 0x00});  // HALT ; NOP
  cpu.Run(100);
  cpu.requests = Z80_REQ_IRQ;  // IFF1 is 0
  cpu.Run(4);
  EXPECT_EQ(cpu.state.halted, 0);
  EXPECT_EQ(cpu.state.pc, 2);
  EXPECT_EQ(cpu.requests, Z80_REQ_IRQ);
}

TEST(SliceEnders, IdleLoopAndUnsupportedOpcodes) {
  RunCases(
      {
          {"JR $ ends with an exact zero",
           {0x18, 0xFE},  // JR $
           nullptr,
           [](Cpu& c) {
             EXPECT_EQ(c.budget, 0);
             EXPECT_EQ(c.state.pc, 0);
           }},
          {"ED 4C (a NEG mirror)",
           {0xED, 0x4C},
           [](Cpu& c) { c.state.a = 0x12; },
           [](Cpu& c) {
             EXPECT_EQ(c.budget, 0);
             EXPECT_EQ(c.state.a, 0x12);
             EXPECT_EQ(c.state.pc, 2);
           }},
          {"DD 00",
           {0xDD, 0x00},
           nullptr,
           [](Cpu& c) {
             EXPECT_EQ(c.budget, 0);
             EXPECT_EQ(c.state.pc, 2);
           }},
          {"DD 80: no fall-through to ADD A,B",
           {0xDD, 0x80},
           [](Cpu& c) { c.state.a = 1, c.state.b = 1; },
           [](Cpu& c) {
             EXPECT_EQ(c.state.a, 1);
             EXPECT_EQ(c.budget, 0);
           }},
          {"DD CB d 00 reads, writes nothing",
           {0xDD, 0xCB, 0x01, 0x00},
           [](Cpu& c) {
             c.state.ix = 0x4000, c.state.b = 0x77, c.space[0x4001] = 0x81;
             c.Tag(0x4001, TAG_READ_TRAP | 1);
           },
           [](Cpu& c) {
             EXPECT_EQ(c.budget, 0);
             EXPECT_EQ(c.state.pc, 4);
             EXPECT_EQ(c.state.b, 0x77);
             EXPECT_EQ(c.space[0x4001], 0x81);
             ASSERT_EQ(c.calls.size(), 1u);
             EXPECT_EQ(c.calls[0].address, 0x4001);
           }},
      },
      500);
}

TEST(DataPath, TagsRouteReadsAndWrites) {
  RunCases({
      {"read-only write is dropped without a call",
       {0x32, 0x00, 0x30},  // LD (0x3000),A
       [](Cpu& c) { c.state.a = 9, c.Tag(0x3000, TAG_READ_ONLY); },
       [](Cpu& c) {
         EXPECT_EQ(c.space[0x3000], 0);
         EXPECT_TRUE(c.calls.empty());
       }},
      {"read-only address reads plain",
       {0x3A, 0x00, 0x30},  // LD A,(0x3000)
       [](Cpu& c) { c.space[0x3000] = 0x6F, c.Tag(0x3000, TAG_READ_ONLY); },
       [](Cpu& c) { EXPECT_EQ(c.state.a, 0x6F); }},
      {"trapped write goes to the handler, not memory",
       {0x77},  // LD (HL),A
       [](Cpu& c) { c.state.setHl(0x4800), c.state.a = 3, c.Tag(0x4800, TAG_WRITE_TRAP | 2); },
       [](Cpu& c) {
         EXPECT_EQ(c.space[0x4800], 0);
         ASSERT_EQ(c.calls.size(), 1u);
         EXPECT_EQ(c.calls[0], (HandlerCall{'w', 0x4800, 3, -6}));
       }},
      {"trapped read returns the handler's byte",
       {0x7E},  // LD A,(HL)
       [](Cpu& c) { c.state.setHl(0x8101), c.Tag(0x8101, TAG_READ_TRAP | 2); },
       [](Cpu& c) {
         EXPECT_EQ(c.state.a, 0x5A);
         ASSERT_EQ(c.calls.size(), 1u);
         EXPECT_EQ(c.calls[0], (HandlerCall{'r', 0x8101, -6, -6}));
       }},
      {"opcode fetches ignore tags",
       {0x3E, 0x44},  // LD A,0x44
       [](Cpu& c) { c.Tag(0, TAG_READ_TRAP), c.Tag(1, TAG_READ_TRAP); },
       [](Cpu& c) {
         EXPECT_EQ(c.state.a, 0x44);
         EXPECT_TRUE(c.calls.empty());
       }},
  });
}

TEST(DataPath, HandlerSeesTheCountRemainingAtTheAccess) {
  Cpu cpu;
  cpu.Tag(0x8000, TAG_READ_TRAP | 1);
  cpu.Load({0x00, 0x00, 0x3A, 0x00, 0x80});  // NOP ; NOP ; LD A,(0x8000)
  cpu.Run(100);
  ASSERT_FALSE(cpu.calls.empty());
  EXPECT_EQ(cpu.calls[0].budgetSeen, 100 - 4 - 4 - 13);
}

TEST(Ports, GoThroughEntryZeroWithTheMask) {
  RunCases({
      {"OUT (0x40),A",
       {0xD3, 0x40},
       [](Cpu& c) { c.state.a = 0x12, c.state.portMask = 0xFF; },
       [](Cpu& c) {
         ASSERT_EQ(c.calls.size(), 1u);
         EXPECT_EQ(c.calls[0].kind, 'w');
         EXPECT_EQ(c.calls[0].address, 0x40);
         EXPECT_EQ(c.calls[0].second, 0x12);
       }},
      {"IN A,(0x20) passes A as the high byte",
       {0xDB, 0x20},
       [](Cpu& c) { c.state.a = 0x81, c.state.portMask = 0xFF, c.state.f = 0xD7; },
       [](Cpu& c) {
         ASSERT_EQ(c.calls.size(), 1u);
         EXPECT_EQ(c.calls[0].address, 0x20);
         EXPECT_EQ(c.calls[0].second, 0x8120);
         EXPECT_EQ(c.state.a, 0x5A);
         EXPECT_EQ(c.state.f, 0xD7);
       }},
      {"IN B,(C) uses BC and sets flags",
       {0xED, 0x40},
       [](Cpu& c) { c.state.setBc(0x3310), c.state.portMask = 0xFF, c.state.f = FLAG_C; },
       [](Cpu& c) {
         EXPECT_EQ(c.calls[0].address, 0x10);
         EXPECT_EQ(c.calls[0].second, 0x3310);
         EXPECT_EQ(c.state.b, 0x5A);
         EXPECT_EQ(c.state.f, FLAG_C | SzpFlags[0x5A]);
       }},
  });
}

TEST(BlockInstructions, OtirWritesEachByteToThePort) {
  Cpu cpu;
  cpu.state.setBc(0x0240), cpu.state.setHl(0x4000), cpu.state.portMask = 0xFF;
  cpu.Load({0x11, 0x22}, 0x4000);
  cpu.Load({0xED, 0xB3});  // OTIR
  cpu.Run(1);
  cpu.Run(1);
  EXPECT_EQ(cpu.state.pc, 2);
  EXPECT_EQ(cpu.state.b, 0);
  EXPECT_TRUE(cpu.state.f & FLAG_Z);
  ASSERT_EQ(cpu.calls.size(), 2u);
  EXPECT_EQ(cpu.calls[0].address, 0x40);
  EXPECT_EQ(cpu.calls[0].second, 0x11);
  EXPECT_EQ(cpu.calls[1].second, 0x22);
}

TEST(BlockInstructions, LdirRunsOneStepPerExecution) {
  Cpu cpu;
  cpu.state.setBc(3), cpu.state.setHl(0x4000), cpu.state.setDe(0x5000);
  cpu.Load({1, 2, 3}, 0x4000);
  cpu.Load({0xED, 0xB0});  // LDIR
  std::vector<int32_t> costs;
  for (int step = 0; step < 3; ++step) costs.push_back(cpu.Run(1));
  EXPECT_EQ(costs, (std::vector<int32_t>{21, 21, 16}));
  EXPECT_EQ(cpu.state.bc(), 0);
  EXPECT_EQ(cpu.state.pc, 2);
  EXPECT_FALSE(cpu.state.f & FLAG_PV);
  EXPECT_EQ(cpu.space[0x5002], 3);
}

TEST(BlockInstructions, CpirSearchesInOneExecution) {
  struct CpirCase {
    const char* name;
    uint16_t bc;
    int matchAt;  // -1: no match
    uint16_t hlAfter, bcAfter;
    bool zero, parity;
    int32_t tstates;
  };
  for (const auto& tc : std::vector<CpirCase>{
           {"found at HL+3", 0x0010, 3, 0x4004, 0x000C, true, true, 79},
           {"not found in 5 bytes", 0x0005, -1, 0x4005, 0x0000, false, false, 100},
       }) {
    SCOPED_TRACE(tc.name);
    Cpu cpu;
    cpu.state.setBc(tc.bc), cpu.state.setHl(0x4000), cpu.state.a = 0x41;
    if (tc.matchAt >= 0) cpu.space[0x4000 + tc.matchAt] = 0x41;
    cpu.Load({0xED, 0xB1});  // CPIR
    EXPECT_EQ(cpu.Run(1), tc.tstates);
    EXPECT_EQ(cpu.state.hl(), tc.hlAfter);
    EXPECT_EQ(cpu.state.bc(), tc.bcAfter);
    EXPECT_EQ(bool(cpu.state.f & FLAG_Z), tc.zero);
    EXPECT_EQ(bool(cpu.state.f & FLAG_PV), tc.parity);
    EXPECT_EQ(cpu.state.pc, 2);
  }
}

TEST(IndexRegisters, HalvesDisplacementsAndRealHL) {
  RunCases({
      {"LD A,(IX-1) wraps to 0xFFFF",
       {0xDD, 0x7E, 0xFF},
       [](Cpu& c) { c.state.ix = 0x0000, c.space[0xFFFF] = 0x99; },
       [](Cpu& c) { EXPECT_EQ(c.state.a, 0x99); }},
      {"LD IYH,n leaves IX and H alone",
       {0xFD, 0x26, 0xAB},
       [](Cpu& c) { c.state.iy = 0x1234, c.state.ix = 0x5678, c.state.h = 0x9A; },
       [](Cpu& c) {
         EXPECT_EQ(c.state.iy, 0xAB34);
         EXPECT_EQ(c.state.ix, 0x5678);
         EXPECT_EQ(c.state.h, 0x9A);
       }},
      {"LD H,(IX+d) loads the real H",
       {0xDD, 0x66, 0x02},
       [](Cpu& c) { c.state.ix = 0x4000, c.space[0x4002] = 0x77; },
       [](Cpu& c) {
         EXPECT_EQ(c.state.h, 0x77);
         EXPECT_EQ(c.state.ix, 0x4000);
       }},
      {"LD IXL,A",
       {0xDD, 0x6F},
       [](Cpu& c) { c.state.ix = 0x1200, c.state.a = 0x34; },
       [](Cpu& c) { EXPECT_EQ(c.state.ix, 0x1234); }},
  });
}

TEST(RefreshRegister, CountsFetchesAndPrefixBytes) {
  Cpu cpu;
  cpu.Load({0xED, 0x5F, 0xED, 0x5F});  // LD A,R ; LD A,R
  cpu.Run(1);
  uint8_t first = cpu.state.a;
  cpu.Run(1);
  EXPECT_EQ((cpu.state.a - first) & 0x7F, 2);

  Cpu loaded;
  loaded.state.a = 0x85;
  loaded.Load({0xED, 0x4F, 0xED, 0x5F});  // LD R,A ; LD A,R
  loaded.Run(10);
  EXPECT_EQ(loaded.state.a, 0x87);

  Cpu bits;
  bits.state.r = 0;
  bits.Load({0xDD, 0xCB, 0x00, 0x46, 0xCB, 0x00});  // BIT 0,(IX+0) ; RLC B
  bits.Run(1);
  EXPECT_EQ(bits.state.r, 3);
  bits.Run(1);
  EXPECT_EQ(bits.state.r, 5);
}

TEST(Reset, SetsOnlyItsRegisters) {
  Z80State state{};
  state.sp = 0x1234, state.im = 2, state.iff1 = 1, state.pc = 0x4000, state.a = 7;
  Z80Reset(state, 0xFF);
  EXPECT_EQ(state.pc, 0);
  EXPECT_EQ(state.ix, 0xFFFF);
  EXPECT_EQ(state.iy, 0xFFFF);
  EXPECT_EQ(state.f, FLAG_Z);
  EXPECT_EQ(state.portMask, 0xFFu);
  EXPECT_EQ(state.sp, 0x1234);
  EXPECT_EQ(state.im, 2);
  EXPECT_EQ(state.iff1, 1);
  EXPECT_EQ(state.a, 7);
}

}  // namespace
}  // namespace z80
