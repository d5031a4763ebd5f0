// The simulated device every program of one device home shares: where its state lives on the host
// and how fast its clock runs.
//
// VDEVICE_HOME       folder of the device's shared state (registry, event log, ...);
//                    default $XDG_DATA_HOME/vdevice or ~/.local/share/vdevice.
// VDEVICE_CLOCK_SCALE  how many device milliseconds pass per host millisecond (default 1); tests
//                    run the device faster this way. Timers, Sleep, the tick count and audio
//                    pacing all read this one clock, so a device's schedule keeps its shape.
#pragma once

#include <cstdint>
#include <filesystem>

namespace platform {

std::filesystem::path DeviceHome();  // created on first use

double ClockScale();
uint64_t DeviceNowMs();                 // device milliseconds since an arbitrary start
void DeviceSleepMs(uint64_t deviceMs);  // sleeps the host for deviceMs / scale
// Converts a device duration to host nanoseconds (for timed waits on host primitives).
int64_t DeviceToHostNs(uint64_t deviceMs);

}  // namespace platform
