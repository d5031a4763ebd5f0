#include "platform/process.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>

#include "platform/device.h"
#include "platform/device_channel.h"
#include "platform/thread_queue.h"
#include "platform/wide_text.h"

namespace platform {
namespace {

std::filesystem::path ProcessesFolder() {
  return DeviceHome() / "processes";
}

// The host's start time of a process (clock ticks since boot), which tells a living process from
// a later one that reuses its pid. Empty when the process is gone.
std::string HostStartTime(DWORD pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return {};
  auto close = line.rfind(')');
  if (close == std::string::npos) return {};
  std::istringstream fields(line.substr(close + 1));
  // The start time is field 22 of the record; the text after the name starts at field 3.
  std::string field;
  for (int index = 3; index <= 22; ++index) {
    if (!(fields >> field)) return {};
  }
  return field;
}

struct Entry {
  std::string startTime;
  std::u16string name;
};

bool ReadEntry(DWORD pid, Entry& entry) {
  std::ifstream file(ProcessesFolder() / std::to_string(pid));
  std::string name;
  if (!std::getline(file, entry.startTime) || !std::getline(file, name)) return false;
  entry.name = FromUtf8(name);
  return true;
}

bool EntryIsLive(DWORD pid, const Entry& entry) {
  return !entry.startTime.empty() && entry.startTime == HostStartTime(pid);
}

void LeaveDevice() {
  std::error_code ignored;
  std::filesystem::remove(ProcessesFolder() / std::to_string(getpid()), ignored);
}

}  // namespace

std::u16string DeviceProcessName(const std::filesystem::path& hostExecutable) {
  std::u16string name = FromUtf8(hostExecutable.filename().string());
  if (name.size() < 4 || !EqualsIgnoreCase(name.substr(name.size() - 4), u".exe")) name += u".exe";
  return name;
}

void JoinDevice() {
  static std::once_flag joined;
  std::call_once(joined, [] {
    SetChannelHandler(ChannelKind::ThreadMessage, ReceiveThreadMessage);
    StartChannelListener();
    std::error_code ignored;
    std::filesystem::create_directories(ProcessesFolder(), ignored);
    auto pid = static_cast<DWORD>(getpid());
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ignored);
    auto path = ProcessesFolder() / std::to_string(pid);
    auto temporary = path;
    temporary += ".new";
    {
      std::ofstream file(temporary, std::ios::trunc);
      file << HostStartTime(pid) << '\n' << ToUtf8(DeviceProcessName(exe)) << '\n';
    }
    std::filesystem::rename(temporary, path, ignored);
    std::atexit(LeaveDevice);
  });
}

std::vector<DeviceProcess> ListDeviceProcesses() {
  std::vector<DeviceProcess> processes;
  std::error_code error;
  for (const auto& file : std::filesystem::directory_iterator(ProcessesFolder(), error)) {
    const std::string fileName = file.path().filename().string();
    if (fileName.empty() ||
        !std::all_of(fileName.begin(), fileName.end(), [](char c) { return c >= '0' && c <= '9'; }))
      continue;
    auto pid = static_cast<DWORD>(std::strtoul(fileName.c_str(), nullptr, 10));
    Entry entry;
    if (!ReadEntry(pid, entry)) continue;
    if (!EntryIsLive(pid, entry)) {
      std::error_code ignored;
      std::filesystem::remove(file.path(), ignored);
      continue;
    }
    processes.push_back({pid, entry.name});
  }
  std::sort(processes.begin(), processes.end(),
            [](const DeviceProcess& a, const DeviceProcess& b) { return a.id < b.id; });
  return processes;
}

bool IsDeviceProcess(DWORD processId) {
  Entry entry;
  return ReadEntry(processId, entry) && EntryIsLive(processId, entry);
}

std::vector<DWORD> ListProcessThreads(DWORD processId) {
  std::vector<DWORD> threads;
  std::error_code error;
  auto folder = std::filesystem::path("/proc") / std::to_string(processId) / "task";
  for (const auto& task : std::filesystem::directory_iterator(folder, error)) {
    threads.push_back(
        static_cast<DWORD>(std::strtoul(task.path().filename().c_str(), nullptr, 10)));
  }
  std::sort(threads.begin(), threads.end());
  return threads;
}

DWORD ProcessOfThread(DWORD threadId) {
  std::ifstream status("/proc/" + std::to_string(threadId) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Tgid:", 0) == 0) {
      auto pid = static_cast<DWORD>(std::strtoul(line.c_str() + 5, nullptr, 10));
      return IsDeviceProcess(pid) ? pid : 0;
    }
  }
  return 0;
}

}  // namespace platform
