// The run loop: fetch, charge, execute, until the budget is spent; interrupt sampling at the
// start of a run and after the instruction that follows EI.
#include <random>

#include "exec_main.h"

namespace z80 {

void Z80Reset(Z80State& state, uint32_t portMask) {
  static std::minstd_rand refreshNoise{std::random_device{}()};
  state.pc = 0x0000;
  state.ix = state.iy = 0xFFFF;
  state.f = FLAG_Z;
  state.r = static_cast<uint8_t>(refreshNoise());
  state.portMask = portMask;
}

void Z80Run(AddressSpace* space, Z80State& state, MemoryHandler* handlers, int32_t* budget,
            uint8_t* requests) {
  Core c{space, state, handlers, budget, requests, *budget, state.pc, false, 0};
  for (;;) {
    c.SampleInterrupts();
    // Hot loop: one dispatch on the opcode byte; PC and the count live in registers.
    while (c.count > 0) {
      uint8_t op = c.Fetch();
      ++state.r;
      c.count -= MainCycles[op];
      switch (op) {
#define Z80_CASE(n) \
  case n: ExecMain<n>(c); break;
        Z80_CASES_256
#undef Z80_CASE
      }
    }
    if (!c.eiPending) break;
    c.count += c.eiRemainder;
    c.eiRemainder = 0;
    c.eiPending = false;
  }
  state.pc = c.pc;
  *budget = c.count;
}

}  // namespace z80
