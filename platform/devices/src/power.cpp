#include <fstream>
#include <string>

#include "platform/device.h"
#include "platform/devices.h"
#include "platform/event_log.h"
#include "platform/wide_text.h"

namespace {

struct BacklightState {
  int level = D0;
  bool forced = false;
};

std::filesystem::path BacklightFile() {
  auto folder = platform::DeviceHome() / "devices";
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return folder / "BKL1";
}

BacklightState ReadBacklight() {
  BacklightState state;
  std::ifstream file(BacklightFile());
  int level, forced;
  if (file >> level >> forced && level >= D0 && level <= D4) {
    state.level = level;
    state.forced = forced != 0;
  }
  return state;
}

std::string Describe(const BacklightState& state) {
  std::string text = "D";
  text += std::to_string(state.level);
  text += state.forced ? " forced" : " system";
  return text;
}

}  // namespace

DWORD SetDevicePower(LPVOID device, DWORD flags, CEDEVICE_POWER_STATE state) {
  if (!(flags & POWER_NAME) || !device) return ERROR_INVALID_PARAMETER;
  auto name = platform::WideView(static_cast<LPCWSTR>(device));
  if (!platform::EqualsIgnoreCase(name, u"BKL1:")) return ERROR_FILE_NOT_FOUND;
  if (state < PwrDeviceUnspecified || state > D4) return ERROR_INVALID_PARAMETER;

  BacklightState current = ReadBacklight();
  BacklightState next = current;
  if (flags & POWER_FORCE) {
    if (state == PwrDeviceUnspecified) {
      // Released: the system's power management takes over, and it keeps the light on.
      next = {D0, false};
    } else {
      next = {state, true};
    }
  } else if (!current.forced && state != PwrDeviceUnspecified) {
    next.level = state;
  }
  {
    std::ofstream file(BacklightFile(), std::ios::trunc);
    file << next.level << ' ' << (next.forced ? 1 : 0) << '\n';
  }
  platform::AppendDeviceEvent("BKL1:", Describe(next));
  return ERROR_SUCCESS;
}

namespace platform {

std::string DescribeBacklightState() {
  return "BKL1: " + Describe(ReadBacklight());
}

int BacklightLevel() {
  return ReadBacklight().level;
}

}  // namespace platform
