// A minimal CP/M machine on the Z80 core, enough to run .COM programs that print through the
// BDOS: 64 KiB of plain RAM, the program at 0x0100, BDOS function 2 (print E) and 9 (print the
// '$'-terminated string at DE), and a jump to 0x0000 (warm boot) or function 0 to end.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "z80/z80.h"

namespace cpm {

inline constexpr uint16_t kProgramStart = 0x0100;
inline constexpr uint16_t kBdosEntry = 0xFE00;  // OUT (0),A ; RET — the port write makes the call

// Lays out a 64 KiB CP/M memory: warm-boot HALT at 0, the BDOS jump at 5, the BDOS entry, and
// the program at 0x0100. False when the program does not fit below the BDOS.
bool PrepareMemory(uint8_t* memory, std::span<const uint8_t> program);

class CpmMachine {
 public:
  using Output = std::function<void(char)>;

  // Loads the program at 0x0100; false when it does not fit below the BDOS.
  bool Load(std::span<const uint8_t> program);

  // Runs until the program ends or maxTStates have run; returns whether it ended.
  bool Run(uint64_t maxTStates, const Output& output);

  uint64_t TStates() const { return tstates_; }

 private:
  struct BdosPort {
    z80::MemoryHandler handler;  // first, so the core's entry pointer leads back here
    CpmMachine* machine;
  };
  static void OnBdosCall(uint16_t port, uint8_t value, int index, z80::MemoryHandler* entry);
  void Bdos();
  bool Ended() const;

  std::unique_ptr<z80::AddressSpace[]> space_ =
      std::make_unique<z80::AddressSpace[]>(z80::kAddressSpaceBytes);
  z80::Z80State cpu_{};
  BdosPort port_{{nullptr, &CpmMachine::OnBdosCall}, this};
  uint8_t requests_ = 0;
  uint64_t tstates_ = 0;
  bool ended_ = false;
  const Output* output_ = nullptr;
};

}  // namespace cpm
