#include "cpm/cpm_machine.h"

#include <algorithm>

namespace cpm {
bool PrepareMemory(uint8_t* m, std::span<const uint8_t> program) {
  if (program.size() > kBdosEntry - kProgramStart) return false;
  std::fill_n(m, 0x10000, 0);
  std::copy(program.begin(), program.end(), m + kProgramStart);
  m[0x0000] = 0x76;  // warm boot: HALT, which ends the run
  m[0x0005] = 0xC3;  // JP kBdosEntry; programs also read the top of their memory from 0x0006
  m[0x0006] = kBdosEntry & 0xFF;
  m[0x0007] = kBdosEntry >> 8;
  m[kBdosEntry] = 0xD3;
  m[kBdosEntry + 1] = 0x00;
  m[kBdosEntry + 2] = 0xC9;
  return true;
}

bool CpmMachine::Load(std::span<const uint8_t> program) {
  std::fill_n(space_.get() + z80::kTagOffset, 0x10000, 0);
  if (!PrepareMemory(space_.get(), program)) return false;
  cpu_ = {};
  z80::Z80Reset(cpu_, 0xFF);
  cpu_.pc = kProgramStart;
  cpu_.sp = kBdosEntry;
  tstates_ = 0;
  ended_ = false;
  return true;
}

void CpmMachine::OnBdosCall(uint16_t, uint8_t, int, z80::MemoryHandler* entry) {
  reinterpret_cast<BdosPort*>(entry)->machine->Bdos();
}

void CpmMachine::Bdos() {
  switch (cpu_.c) {
    case 0: ended_ = true; break;
    case 2: (*output_)(static_cast<char>(cpu_.e)); break;
    case 9:
      for (uint16_t at = cpu_.de(), n = 0; space_[at] != '$' && n < 0xFFFF; ++at, ++n)
        (*output_)(static_cast<char>(space_[at]));
      break;
    default: break;
  }
}

bool CpmMachine::Ended() const {
  return ended_ || (cpu_.halted && cpu_.pc == 0x0000);
}

bool CpmMachine::Run(uint64_t maxTStates, const Output& output) {
  output_ = &output;
  z80::MemoryHandler* handlers = &port_.handler;
  while (!Ended() && tstates_ < maxTStates) {
    constexpr int32_t kSlice = 1 << 20;
    int32_t budget = kSlice;
    z80::Z80Run(space_.get(), cpu_, handlers, &budget, &requests_);
    tstates_ += static_cast<uint64_t>(kSlice - budget);
  }
  output_ = nullptr;
  return Ended();
}

}  // namespace cpm
