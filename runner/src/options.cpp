#include "options.h"

namespace runner {

const char* const kUsage =
    "usage: vortekan_run [options]\n"
    "  --image FILE          program image file (u32 size, u32 compressed size, zlib stream)\n"
    "                        instead of the one built in\n"
    "  --frames N            frames to run (default 600; interactive: until the window closes)\n"
    "  --input SCRIPT        scripted input (see the README)\n"
    "  --png FRAME:FILE      screenshot of the screen after that frame (repeatable)\n"
    "  --layout L            portrait, landscape or square screen (default portrait)\n"
    "  --wav FILE            the mixed sound of the run\n"
    "  --dir DIR             folder of the high-score and save-state files\n"
    "  --save-state FRAME:FILE  save the board after that frame\n"
    "  --load-state FILE     start from a saved board (at frame 201, output on)\n"
    "  --interactive         play in a window at 60 frames/s: arrows, Space or Ctrl fire,\n"
    "                        X or Shift jump, C coin, 1 and 2 start, Esc quits\n";

namespace {

std::optional<uint64_t> ParseCount(const std::string& text) {
  if (text.empty() || text.size() > 12) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  return value;
}

std::optional<FrameFile> ParseFrameFile(const std::string& text) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos || colon + 1 == text.size()) return std::nullopt;
  const auto frame = ParseCount(text.substr(0, colon));
  if (!frame) return std::nullopt;
  return FrameFile{*frame, text.substr(colon + 1)};
}

}  // namespace

std::optional<RunnerOptions> ParseOptions(const std::vector<std::string>& arguments,
                                          std::string& error) {
  RunnerOptions options;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--help" || option == "-h") {
      error.clear();
      return std::nullopt;
    }
    if (option == "--interactive") {
      options.interactive = true;
      continue;
    }
    if (i + 1 >= arguments.size()) {
      error = option.rfind("--", 0) == 0 ? option + " needs a value" : "unknown argument " + option;
      return std::nullopt;
    }
    const std::string& value = arguments[++i];
    if (option == "--image") {
      options.image = value;
    } else if (option == "--frames") {
      options.frames = ParseCount(value);
      if (!options.frames) {
        error = "--frames needs a whole number, not '" + value + "'";
        return std::nullopt;
      }
    } else if (option == "--input") {
      options.inputScript = value;
    } else if (option == "--png" || option == "--save-state") {
      const auto frameFile = ParseFrameFile(value);
      if (!frameFile) {
        error = option + " needs FRAME:FILE, not '" + value + "'";
        return std::nullopt;
      }
      if (option == "--png") {
        options.screenshots.push_back(*frameFile);
      } else {
        options.saveState = frameFile;
      }
    } else if (option == "--layout") {
      if (value != "portrait" && value != "landscape" && value != "square") {
        error = "--layout is portrait, landscape or square, not '" + value + "'";
        return std::nullopt;
      }
      options.layout = value;
    } else if (option == "--wav") {
      options.wav = value;
    } else if (option == "--dir") {
      options.directory = value;
    } else if (option == "--load-state") {
      options.loadState = value;
    } else {
      error = "unknown option " + option;
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace runner
