// devicectl screen: a window that is the device's screen while no program draws on it. It shows
// an idle home screen through the windowed host, so the backlight and the vibrator can be
// watched while a service runs; with --keys-to CLASS, keys typed into it go to the device's
// window of that class, as the device's keypad would send them.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "commands.h"
#include "platform/host.h"
#include "platform/screen.h"
#include "platform/user.h"
#include "platform/wide_text.h"

namespace devicectl {
namespace {

// A calm vertical gradient, so brightness changes are easy to see.
std::vector<uint16_t> HomeScreen(int width, int height) {
  std::vector<uint16_t> pixels(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    unsigned blue = 8 + 20 * y / height, green = 10 + 30 * y / height;
    for (int x = 0; x < width; ++x) pixels[static_cast<size_t>(y) * width + x] = green << 5 | blue;
  }
  return pixels;
}

}  // namespace

int ScreenCommand(const Arguments& args) {
  std::string keysTo;
  if (args.size() == 2 && args[0] == "--keys-to") {
    keysTo = args[1];
  } else if (!args.empty()) {
    return Usage("screen [--keys-to CLASS]");
  }
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  std::string error;
  auto window = platform::host::ScreenWindow::Open("Device screen", width, height, 2, error);
  if (!window) {
    std::fprintf(stderr, "devicectl: no window can be opened: %s\n", error.c_str());
    return 1;
  }
  const std::vector<uint16_t> home = HomeScreen(width, height);
  for (;;) {
    platform::host::HostEvent event;
    while (window->NextEvent(event)) {
      if (event.kind == platform::host::HostEvent::Kind::Quit) return 0;
      bool key = event.kind == platform::host::HostEvent::Kind::KeyDown ||
                 event.kind == platform::host::HostEvent::Kind::KeyUp;
      if (!key || keysTo.empty()) continue;
      if (HWND target = FindWindowW(platform::FromUtf8(keysTo).c_str(), nullptr)) {
        UINT message =
            event.kind == platform::host::HostEvent::Kind::KeyDown ? WM_KEYDOWN : WM_KEYUP;
        PostMessageW(target, message, event.key, 1);
      }
    }
    window->Show(home.data(), width);
    std::this_thread::sleep_for(std::chrono::milliseconds(33));  // host time: a window refresh
  }
}

}  // namespace devicectl
