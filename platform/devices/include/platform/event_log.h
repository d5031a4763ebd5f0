// The device event log: every observable change of the device's hardware (vibrator, backlight,
// ...) is appended to events.log in the device home as one line
//   <device ms> <host pid> <device> <what happened>
// so a test or the control tool can see what the device did, and when, on the device clock.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct DeviceEvent {
  uint64_t timeMs;
  uint32_t processId;
  std::string device;
  std::string what;
};

void AppendDeviceEvent(std::string_view device, std::string_view what);
// Lines that do not parse are skipped.
std::vector<DeviceEvent> ReadDeviceEvents();
std::string FormatDeviceEvent(const DeviceEvent& event);

}  // namespace platform
