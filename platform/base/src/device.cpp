#include "platform/device.h"

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace platform {

std::filesystem::path DeviceHome() {
  std::filesystem::path home;
  if (const char* env = std::getenv("VDEVICE_HOME"); env && *env) {
    home = env;
  } else if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
    home = std::filesystem::path(xdg) / "vdevice";
  } else {
    const char* user = std::getenv("HOME");
    home = std::filesystem::path(user ? user : "/tmp") / ".local/share/vdevice";
  }
  std::error_code ignored;
  std::filesystem::create_directories(home, ignored);
  return home;
}

double ClockScale() {
  static const double scale = [] {
    const char* env = std::getenv("VDEVICE_CLOCK_SCALE");
    double value = env ? std::strtod(env, nullptr) : 1.0;
    return value > 0 ? value : 1.0;
  }();
  return scale;
}

uint64_t DeviceNowMs() {
  // The host's monotonic clock is shared by all processes, so device time agrees across them.
  auto host = std::chrono::steady_clock::now().time_since_epoch();
  double hostMs = std::chrono::duration<double, std::milli>(host).count();
  return static_cast<uint64_t>(hostMs * ClockScale());
}

int64_t DeviceToHostNs(uint64_t deviceMs) {
  return static_cast<int64_t>(static_cast<double>(deviceMs) * 1e6 / ClockScale());
}

void DeviceSleepMs(uint64_t deviceMs) {
  std::this_thread::sleep_for(std::chrono::nanoseconds(DeviceToHostNs(deviceMs)));
}

}  // namespace platform
