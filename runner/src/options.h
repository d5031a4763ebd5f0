// Command-line options of vortekan_run.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace runner {

struct FrameFile {
  uint64_t frame;
  std::filesystem::path file;
};

struct RunnerOptions {
  std::optional<std::filesystem::path> image;  // resource-format file instead of the embedded one
  std::optional<uint64_t> frames;
  std::optional<std::filesystem::path> inputScript;
  std::vector<FrameFile> screenshots;
  std::string layout = "portrait";
  std::optional<std::filesystem::path> wav;
  std::optional<std::filesystem::path> directory;
  std::optional<FrameFile> saveState;
  std::optional<std::filesystem::path> loadState;
  bool interactive = false;
};

inline constexpr uint64_t kDefaultFrames = 600;

// The options, or nothing with the reason in error. "--help" gives nothing and an empty error.
std::optional<RunnerOptions> ParseOptions(const std::vector<std::string>& arguments,
                                          std::string& error);

extern const char* const kUsage;

}  // namespace runner
