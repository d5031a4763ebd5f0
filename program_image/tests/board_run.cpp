#include "board_run.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace vortekan_test {
namespace {

constexpr size_t kStateHeaderBytes = 192 + 583;
constexpr uint16_t kVideoRam = 0x4800;

bool IsReadOnly(uint32_t address) {
  return address < 0x4000 || address == 0x8202;
}

// Single-quoted for the shell; a quote inside ends the quoting, adds an escaped one, resumes.
std::string Quote(const std::string& s) {
  std::string quoted(1, '\'');
  for (char c : s) {
    if (c == '\'') {
      quoted.append("'\\''");
    } else {
      quoted.push_back(c);
    }
  }
  quoted.push_back('\'');
  return quoted;
}

char CellChar(uint8_t code) {
  if (code <= 0x09) return static_cast<char>('0' + code);
  if (code >= 0x11 && code <= 0x2A) return static_cast<char>('A' + code - 0x11);
  if (code == 0x10) return ' ';
  return '#';
}

}  // namespace

BoardRun::BoardRun(const std::string& name)
    : dir_(std::filesystem::path(VORTEKAN_TEST_WORK_DIR) / name) {
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_);
}

void BoardRun::WriteScript(const std::string& text) const {
  std::ofstream(Path("input.txt")) << text;
}

void BoardRun::WriteFile(const std::string& file, const std::vector<uint8_t>& bytes) const {
  std::ofstream out(Path(file), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> BoardRun::ReadFile(const std::string& file) const {
  std::ifstream in(Path(file), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

RunResult BoardRun::Run(const std::vector<std::string>& options) const {
  std::vector<std::string> words = {VORTEKAN_RUNNER, "--dir", dir_.string()};
  if (std::filesystem::exists(Path("input.txt"))) {
    words.push_back("--input");
    words.push_back(Path("input.txt").string());
  }
  words.insert(words.end(), options.begin(), options.end());
  std::string command;
  for (const std::string& word : words) {
    command.append(Quote(word));
    command.push_back(' ');
  }
  command.append("2>&1");
  RunResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe)) result.output += buffer;
  int status = pclose(pipe);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

MainMemory BoardRun::MemoryAfter(uint64_t frames, const std::vector<std::string>& options) const {
  std::vector<std::string> all = options;
  all.push_back("--frames");
  all.push_back(std::to_string(frames));
  all.push_back("--save-state");
  all.push_back(std::to_string(frames - 1) + ":" + Path("memory.state").string());
  RunResult result = Run(all);
  if (result.exit_code != 0) throw std::runtime_error("runner failed: " + result.output);
  return DecodeStateMemory(ReadFile("memory.state"));
}

MainMemory DecodeStateMemory(const std::vector<uint8_t>& state) {
  if (state.size() < kStateHeaderBytes) throw std::runtime_error("state file too short");
  MainMemory memory{};
  size_t in = kStateHeaderBytes;
  uint32_t pending_zeros = 0;
  for (uint32_t address = 0; address < memory.size(); ++address) {
    if (IsReadOnly(address)) continue;
    if (pending_zeros > 0) {
      --pending_zeros;
      continue;
    }
    uint8_t b = in < state.size() ? state[in++] : 0;
    if (b == 0) {
      pending_zeros = in < state.size() ? state[in++] : 0;
    } else {
      memory[address] = b;
    }
  }
  return memory;
}

std::string TextAt(const MainMemory& memory, int column, int band, int length) {
  std::string text;
  for (int i = 0; i < length; ++i) {
    int group = 29 - (column + i);
    text += CellChar(memory[kVideoRam + group * 32 + band]);
  }
  return text;
}

std::vector<int16_t> WavSamples(const std::vector<uint8_t>& file) {
  std::vector<int16_t> samples;
  for (size_t i = 44; i + 1 < file.size(); i += 2) {
    samples.push_back(static_cast<int16_t>(file[i] | file[i + 1] << 8));
  }
  return samples;
}

}  // namespace vortekan_test
