// Runs the game on the emulated board through the headless runner and reads back what it left:
// the main memory from a saved state, the high-score file, the picture and the sound.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vortekan_test {

// The main processor's 64 KiB as a save state holds them (the read-only ROM reads as zero).
using MainMemory = std::array<uint8_t, 0x10000>;

struct RunResult {
  int exit_code = -1;
  std::string output;
};

class BoardRun {
 public:
  // A fresh working folder for one test's files.
  explicit BoardRun(const std::string& name);

  std::filesystem::path Path(const std::string& file) const { return dir_ / file; }
  void WriteScript(const std::string& text) const;
  void WriteFile(const std::string& file, const std::vector<uint8_t>& bytes) const;
  std::vector<uint8_t> ReadFile(const std::string& file) const;

  // Runs the runner in the working folder with the script (if written) and these options.
  RunResult Run(const std::vector<std::string>& options) const;
  // Runs `frames` frames and returns main memory as saved after frame `frames - 1`.
  MainMemory MemoryAfter(uint64_t frames, const std::vector<std::string>& options = {}) const;

 private:
  std::filesystem::path dir_;
};

// Decodes the zero-run encoded main memory of a save-state file.
MainMemory DecodeStateMemory(const std::vector<uint8_t>& state);

// Text in the board's cell codes at a column (0 = leftmost with scroll 0) and band.
std::string TextAt(const MainMemory& memory, int column, int band, int length);

// 16-bit samples of a mono WAV file.
std::vector<int16_t> WavSamples(const std::vector<uint8_t>& file);

}  // namespace vortekan_test
