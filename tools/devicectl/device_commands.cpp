#include <cstdio>
#include <map>

#include "commands.h"
#include "platform/devices.h"
#include "platform/event_log.h"
#include "platform/process.h"
#include "platform/user.h"
#include "platform/wide_text.h"

namespace devicectl {
namespace {

// A message given by number or by one of the system's names.
bool ParseMessage(const std::string& text, UINT& message) {
  static const std::map<std::string, UINT> names = {{"WM_QUIT", WM_QUIT},
                                                    {"WM_CLOSE", WM_CLOSE},
                                                    {"WM_KEYDOWN", WM_KEYDOWN},
                                                    {"WM_KEYUP", WM_KEYUP},
                                                    {"WM_TIMER", WM_TIMER}};
  long long number;
  if (auto it = names.find(text); it != names.end()) {
    message = it->second;
  } else if (ParseNumber(text, number) && number >= 0) {
    message = static_cast<UINT>(number);
  } else {
    return false;
  }
  return true;
}

bool ParseKey(const std::string& text, WPARAM& key) {
  static const std::map<std::string, WPARAM> names = {
      {"enter", VK_RETURN}, {"space", 0x20}, {"left", 0x25},  {"up", 0x26},
      {"right", 0x27},      {"down", 0x28},  {"escape", 0x1B}};
  long long number;
  if (auto it = names.find(text); it != names.end()) {
    key = it->second;
  } else if (ParseNumber(text, number) && number > 0 && number < 256) {
    key = static_cast<WPARAM>(number);
  } else {
    return false;
  }
  return true;
}

}  // namespace

int EventsCommand(const Arguments& args) {
  if (!args.empty()) return Usage("events takes no arguments");
  for (const auto& event : platform::ReadDeviceEvents()) {
    std::printf("%s\n", platform::FormatDeviceEvent(event).c_str());
  }
  return 0;
}

int StateCommand(const Arguments& args) {
  if (!args.empty()) return Usage("state takes no arguments");
  std::printf("%s\n%s\n", platform::DescribeLedState(1).c_str(),
              platform::DescribeBacklightState().c_str());
  return 0;
}

int ProcessesCommand(const Arguments& args) {
  if (!args.empty()) return Usage("ps takes no arguments");
  for (const auto& process : platform::ListDeviceProcesses()) {
    std::printf("%u %s threads", process.id, platform::ToUtf8(process.exeName).c_str());
    for (DWORD thread : platform::ListProcessThreads(process.id)) std::printf(" %u", thread);
    std::printf("\n");
  }
  return 0;
}

int PostCommand(const Arguments& args) {
  UINT message;
  long long wParam = 0, lParam = 0;
  if (args.size() < 2 || args.size() > 4 || !ParseMessage(args[1], message) ||
      (args.size() > 2 && !ParseNumber(args[2], wParam)) ||
      (args.size() > 3 && !ParseNumber(args[3], lParam))) {
    return Usage("post EXE MESSAGE [WPARAM [LPARAM]]");
  }
  int reached = 0;
  for (const auto& process : platform::ListDeviceProcesses()) {
    if (!platform::EqualsIgnoreCase(process.exeName, platform::FromUtf8(args[0]))) continue;
    for (DWORD thread : platform::ListProcessThreads(process.id)) {
      reached += PostThreadMessageW(thread, message, static_cast<WPARAM>(wParam),
                                    static_cast<LPARAM>(lParam))
                     ? 1
                     : 0;
    }
  }
  if (reached == 0) {
    std::fprintf(stderr, "devicectl: no thread of %s was reached\n", args[0].c_str());
    return 1;
  }
  return 0;
}

int KeyCommand(const Arguments& args) {
  WPARAM key;
  if (args.size() != 2 || !ParseKey(args[1], key)) return Usage("key CLASS KEY");
  HWND window = FindWindowW(platform::FromUtf8(args[0]).c_str(), nullptr);
  if (!window) {
    std::fprintf(stderr, "devicectl: no window of class %s\n", args[0].c_str());
    return 1;
  }
  if (!PostMessageW(window, WM_KEYDOWN, key, 1) || !PostMessageW(window, WM_KEYUP, key, 1)) {
    std::fprintf(stderr, "devicectl: the window's thread could not be reached\n");
    return 1;
  }
  return 0;
}

}  // namespace devicectl
