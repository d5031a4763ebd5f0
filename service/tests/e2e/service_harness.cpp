#include "service_harness.h"

#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "platform/device.h"
#include "platform/event_log.h"
#include "platform/process.h"
#include "platform/user.h"
#include "wave_image.h"

extern char** environ;

namespace callchime::testing {
namespace {

constexpr uint32_t kChimeDataBytes = 17444;
constexpr uint32_t kTickDataBytes = 6904;

// The sample bytes of the n-th sound a process opened, from its capture file (0 if unreadable).
uint32_t CapturedDataBytes(const std::filesystem::path& folder, pid_t process, int n) {
  std::ifstream file(
      folder / ("wave-" + std::to_string(process) + "-" + std::to_string(n) + ".wav"),
      std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                             std::istreambuf_iterator<char>());
  WaveImage image;
  return ParseWaveImage(bytes.data(), bytes.size(), image) ? image.dataSize : 0;
}

struct OpenSound {
  uint64_t startMs = 0;
  int index = 0;
  bool gainClass = false;
  bool speaker = false;
  bool fullVolume = false;
};

std::string NameSound(const OpenSound& sound, uint32_t dataBytes) {
  if (dataBytes == kChimeDataBytes && !sound.gainClass) return "service sound";
  if (dataBytes == kChimeDataBytes && sound.gainClass && sound.speaker && !sound.fullVolume) {
    return "talk chime";
  }
  if (dataBytes == kTickDataBytes && sound.gainClass && !sound.speaker && sound.fullVolume) {
    return "tick";
  }
  return "unexpected sound of " + std::to_string(dataBytes) + " bytes";
}

}  // namespace

ServiceDevice::ServiceDevice() {
  setenv("VDEVICE_CLOCK_SCALE", std::to_string(kClockScale).c_str(), 1);
  setenv("VDEVICE_AUDIO_CAPTURE", (home_.Path() / "capture").c_str(), 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  std::filesystem::create_directories(home_.Path() / "capture");
}

ServiceDevice::~ServiceDevice() {
  for (pid_t process : started_) {
    if (kill(process, SIGKILL) == 0) waitpid(process, nullptr, 0);
  }
}

void ServiceDevice::SetLines(const std::string& lines) {
  std::ofstream(home_.Path() / "lines") << lines;
}

pid_t ServiceDevice::Start() {
  pid_t process = -1;
  char* argv[] = {const_cast<char*>(CALLCHIME_PATH), nullptr};
  if (posix_spawn(&process, CALLCHIME_PATH, nullptr, nullptr, argv, environ) != 0) return -1;
  started_.push_back(process);
  return process;
}

pid_t ServiceDevice::StartAndWaitUntilReady() {
  pid_t process = Start();
  if (process < 0 || !WaitForSignals(process, 1)) return -1;
  // The watcher opens the line in its own thread; it has done so once the line lists it.
  auto marker = home_.Path() / "telephony" / "open";
  for (uint64_t deadline = NowMs() + 60000; NowMs() < deadline; SleepFor(100)) {
    std::error_code ignored;
    for (const auto& line : std::filesystem::directory_iterator(marker, ignored)) {
      if (std::filesystem::exists(line.path() / std::to_string(process))) return process;
    }
  }
  return -1;
}

int ServiceDevice::WaitForExit(pid_t process, uint64_t timeoutMs) {
  for (uint64_t deadline = NowMs() + timeoutMs;; SleepFor(100)) {
    int status = 0;
    if (waitpid(process, &status, WNOHANG) == process) {
      std::erase(started_, process);
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    if (NowMs() >= deadline) return -1;
  }
}

bool ServiceDevice::IsRunning(pid_t process) {
  return waitpid(process, nullptr, WNOHANG) == 0;
}

std::vector<Observed> ServiceDevice::SignalsOf(pid_t process) {
  std::vector<Observed> observed;
  OpenSound sound;
  int opens = 0;
  uint64_t vibrationStart = 0;
  for (const auto& event : platform::ReadDeviceEvents()) {
    if (event.processId != static_cast<uint32_t>(process)) continue;
    const std::string& what = event.what;
    if (event.device == "waveout") {
      if (what.rfind("open", 0) == 0) {
        sound = {event.timeMs, ++opens};
      } else if (what == "message 0x400 2 0") {
        sound.gainClass = true;
      } else if (what == "message 0x402 1 0") {
        sound.speaker = true;
      } else if (what == "volume 0x0000ffff") {
        sound.fullVolume = true;
      } else if (what == "close") {
        uint32_t bytes = CapturedDataBytes(home_.Path() / "capture", process, sound.index);
        observed.push_back({sound.startMs, event.timeMs, NameSound(sound, bytes)});
      }
    } else if (event.device == "vibrator") {
      if (what == "on") vibrationStart = event.timeMs;
      if (what == "off") observed.push_back({vibrationStart, event.timeMs, "vibration"});
    } else if (event.device == "BKL1:") {
      const char* name = what == "D4 forced"   ? "screen off"
                         : what == "D0 forced" ? "screen on"
                         : what == "D0 system" ? "screen released"
                                               : "unexpected backlight state";
      observed.push_back({event.timeMs, event.timeMs, name});
    }
  }
  return observed;
}

std::vector<std::string> ServiceDevice::WhatOf(pid_t process) {
  std::vector<std::string> names;
  for (const auto& signal : SignalsOf(process)) names.push_back(signal.what);
  return names;
}

bool ServiceDevice::WaitForSignals(pid_t process, size_t count, uint64_t timeoutMs) {
  for (uint64_t deadline = NowMs() + timeoutMs; NowMs() < deadline; SleepFor(100)) {
    if (SignalsOf(process).size() >= count) return true;
  }
  return false;
}

int ServiceDevice::RunDeviceControl(const std::vector<std::string>& arguments) {
  std::vector<char*> argv = {const_cast<char*>(DEVICECTL_PATH)};
  for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t tool;
  if (posix_spawn(&tool, DEVICECTL_PATH, nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  waitpid(tool, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ServiceDevice::PostToProcess(pid_t process, unsigned message) {
  for (DWORD thread : platform::ListProcessThreads(static_cast<DWORD>(process))) {
    PostThreadMessageW(thread, message, 0, 0);
  }
}

uint64_t ServiceDevice::NowMs() const {
  return platform::DeviceNowMs();
}

void ServiceDevice::SleepUntil(uint64_t deviceMs) const {
  uint64_t now = NowMs();
  if (deviceMs > now) platform::DeviceSleepMs(deviceMs - now);
}

void ServiceDevice::SleepFor(uint64_t deviceMs) const {
  platform::DeviceSleepMs(deviceMs);
}

}  // namespace callchime::testing
