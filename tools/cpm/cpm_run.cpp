// cpm_run FILE.COM — runs a CP/M program on the Z80 core and prints what it prints, then a line
// with the T-states it took and the emulated speed.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "cpm/cpm_machine.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE.COM\n", argv[0]);
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "cpm_run: cannot open %s\n", argv[1]);
    return 1;
  }
  std::vector<uint8_t> program{std::istreambuf_iterator<char>(file), {}};
  cpm::CpmMachine machine;
  if (!machine.Load(program)) {
    std::fprintf(stderr, "cpm_run: %s is too large for the CP/M memory\n", argv[1]);
    return 1;
  }
  auto start = std::chrono::steady_clock::now();
  bool ended = machine.Run(UINT64_MAX, [](char ch) {
    std::putchar(ch);
    if (ch == '\n') std::fflush(stdout);
  });
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("\nT-states: %llu  seconds: %.2f  MHz: %.1f\n",
              static_cast<unsigned long long>(machine.TStates()), seconds,
              machine.TStates() / seconds / 1e6);
  return ended ? 0 : 1;
}
