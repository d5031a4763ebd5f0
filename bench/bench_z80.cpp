// bench_z80 [FILE.COM] [T-STATES] — runs the same fixed slice of a CP/M program (by default the
// instruction exerciser from the shared test data) on our core and on libz80ex, a peer Z80
// library used here only as a yardstick, and prints the emulated speed of each.
#include <z80ex/z80ex.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cpm/cpm_machine.h"

namespace {

struct Result {
  uint64_t tstates;
  double seconds;
  std::string output;
  double Mhz() const { return tstates / seconds / 1e6; }
};

Result RunOurs(const std::vector<uint8_t>& program, uint64_t tstates) {
  cpm::CpmMachine machine;
  machine.Load(program);
  Result result{};
  auto start = std::chrono::steady_clock::now();
  machine.Run(tstates, [&](char ch) { result.output += ch; });
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.tstates = machine.TStates();
  return result;
}

struct PeerMachine {
  uint8_t memory[0x10000];
  std::string output;
};

Z80EX_BYTE PeerRead(Z80EX_CONTEXT*, Z80EX_WORD address, int, void* user) {
  return static_cast<PeerMachine*>(user)->memory[address];
}
void PeerWrite(Z80EX_CONTEXT*, Z80EX_WORD address, Z80EX_BYTE value, void* user) {
  static_cast<PeerMachine*>(user)->memory[address] = value;
}
Z80EX_BYTE PeerPortRead(Z80EX_CONTEXT*, Z80EX_WORD, void*) {
  return 0xFF;
}
void PeerPortWrite(Z80EX_CONTEXT* cpu, Z80EX_WORD, Z80EX_BYTE, void* user) {
  auto* machine = static_cast<PeerMachine*>(user);
  uint16_t bc = z80ex_get_reg(cpu, regBC), de = z80ex_get_reg(cpu, regDE);
  if ((bc & 0xFF) == 2) machine->output += static_cast<char>(de & 0xFF);
  if ((bc & 0xFF) == 9)
    for (uint16_t at = de; machine->memory[at] != '$'; ++at) machine->output += machine->memory[at];
}
Z80EX_BYTE PeerInterruptVector(Z80EX_CONTEXT*, void*) {
  return 0xFF;
}

Result RunPeer(const std::vector<uint8_t>& program, uint64_t tstates) {
  auto machine = std::make_unique<PeerMachine>();
  cpm::PrepareMemory(machine->memory, program);
  void* user = machine.get();
  Z80EX_CONTEXT* cpu = z80ex_create(PeerRead, user, PeerWrite, user, PeerPortRead, user,
                                    PeerPortWrite, user, PeerInterruptVector, user);
  z80ex_set_reg(cpu, regPC, cpm::kProgramStart);
  z80ex_set_reg(cpu, regSP, cpm::kBdosEntry);
  Result result{};
  auto start = std::chrono::steady_clock::now();
  while (result.tstates < tstates && !z80ex_doing_halt(cpu)) result.tstates += z80ex_step(cpu);
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.output = std::move(machine->output);
  z80ex_destroy(cpu);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  std::string path = argc > 1 ? argv[1] : std::string(TESTDATA_DIR) + "/zex/zexdoc.com";
  uint64_t tstates = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 4'000'000'000ull;
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "bench_z80: cannot open %s\n", path.c_str());
    return 1;
  }
  std::vector<uint8_t> program{std::istreambuf_iterator<char>(file), {}};

  Result peer = RunPeer(program, tstates);
  Result ours = RunOurs(program, tstates);
  std::printf("workload: %s, %llu T-states\n", path.c_str(),
              static_cast<unsigned long long>(tstates));
  std::printf("our core: %.1f MHz (%.2f s)\n", ours.Mhz(), ours.seconds);
  std::printf("libz80ex: %.1f MHz (%.2f s)\n", peer.Mhz(), peer.seconds);
  if (ours.output != peer.output.substr(0, ours.output.size()) &&
      peer.output != ours.output.substr(0, peer.output.size()))
    std::printf("warning: the two runs printed different text\n");
  std::printf("ratio vs libz80ex: %.2f\n", ours.Mhz() / peer.Mhz());
  return 0;
}
