// Runs the real Callchime program on a fresh simulated device and reads back what the device
// did. The device clock runs fast (every wait here is in device milliseconds), and what the
// service did is read from the device event log and the captured audio:
//   "service sound"  the start or stop sound (the chime through PlaySoundW)
//   "talk chime"     the start or end signal (chime, gain class, loudspeaker, volume untouched)
//   "tick"           the elapsed-time sound (tick, gain class, full volume)
//   "vibration"      one vibrator pulse
//   "screen off", "screen on", "screen released"   the backlight forced off, on, handed back
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "test_support/device_home.h"

namespace callchime::testing {

inline constexpr double kClockScale = 20;
// How far a timed signal may land from its planned device time: a few host milliseconds of
// process scheduling, times the clock scale.
inline constexpr int64_t kToleranceMs = 2000;
// How long the device may take to carry a call event from the line provider through the
// service's watcher to its main thread and the first signal (the first event also opens the
// registry): host milliseconds under the sanitizers, times the clock scale.
inline constexpr int64_t kReactionMs = 5000;

struct Observed {
  uint64_t startMs;
  uint64_t endMs;
  std::string what;
};

class ServiceDevice {
 public:
  ServiceDevice();
  ~ServiceDevice();

  // Writes the device's profile of telephony lines (one name per line).
  void SetLines(const std::string& lines);

  pid_t Start();
  // Starts the service and waits until its start sound has played and its line is open.
  pid_t StartAndWaitUntilReady();
  // The exit code once the process has ended, or -1 if it still runs after timeoutMs.
  int WaitForExit(pid_t process, uint64_t timeoutMs);
  bool IsRunning(pid_t process);

  // Everything the given process did on the device so far, in order.
  std::vector<Observed> SignalsOf(pid_t process);
  std::vector<std::string> WhatOf(pid_t process);
  // Waits (up to timeoutMs) until the process has done `count` things; false on time-out.
  bool WaitForSignals(pid_t process, size_t count, uint64_t timeoutMs = 60000);

  // Runs the device control tool with the arguments; its exit code.
  int RunDeviceControl(const std::vector<std::string>& arguments);
  // Posts a message to every thread of the process, as the settings applet does.
  void PostToProcess(pid_t process, unsigned message);

  uint64_t NowMs() const;
  void SleepUntil(uint64_t deviceMs) const;
  void SleepFor(uint64_t deviceMs) const;

  const std::filesystem::path& Home() const { return home_.Path(); }

 private:
  test_support::ScopedDeviceHome home_;
  std::vector<pid_t> started_;
};

}  // namespace callchime::testing
