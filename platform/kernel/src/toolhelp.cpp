#include <algorithm>

#include "platform/device.h"
#include "platform/handles.h"
#include "platform/process.h"
#include "platform/sync.h"

namespace {

class Snapshot final : public platform::KernelObject {
 public:
  std::vector<PROCESSENTRY32> processes;
  std::vector<THREADENTRY32> threads;
  size_t nextProcess = 0;
  size_t nextThread = 0;
};

PROCESSENTRY32 ProcessEntry(const platform::DeviceProcess& process, DWORD threadCount) {
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(PROCESSENTRY32);
  entry.th32ProcessID = process.id;
  entry.cntThreads = threadCount;
  size_t length = std::min<size_t>(process.exeName.size(), 259);
  std::copy_n(process.exeName.begin(), length, entry.szExeFile);
  entry.szExeFile[length] = 0;
  return entry;
}

template <typename Entry>
BOOL NextEntry(HANDLE handle, Entry* out, bool fromStart, std::vector<Entry> Snapshot::*list,
               size_t Snapshot::*next) {
  auto snapshot = platform::LookupHandleAs<Snapshot>(handle);
  if (!snapshot || !out || out->dwSize < sizeof(Entry)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (fromStart) (*snapshot).*next = 0;
  auto& entries = (*snapshot).*list;
  size_t& index = (*snapshot).*next;
  if (index >= entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  *out = entries[index++];
  return TRUE;
}

// A device process as a waitable: signalled once the host process has ended. The host offers no
// portable wait on another process, so the wait looks every few milliseconds.
class ProcessHandle final : public platform::Waitable {
 public:
  explicit ProcessHandle(DWORD id) : id_(id) {}
  bool Wait(DWORD timeoutMs) override {
    uint64_t deadline = platform::DeviceNowMs() + timeoutMs;
    while (platform::IsDeviceProcess(id_)) {
      if (timeoutMs != INFINITE && platform::DeviceNowMs() >= deadline) return false;
      platform::DeviceSleepMs(std::max(1.0, 5 * platform::ClockScale()));
    }
    return true;
  }

 private:
  DWORD id_;
};

}  // namespace

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD) {
  auto snapshot = std::make_shared<Snapshot>();
  for (const auto& process : platform::ListDeviceProcesses()) {
    auto threads = platform::ListProcessThreads(process.id);
    if (flags & TH32CS_SNAPPROCESS) {
      snapshot->processes.push_back(ProcessEntry(process, static_cast<DWORD>(threads.size())));
    }
    if (flags & TH32CS_SNAPTHREAD) {
      for (DWORD thread : threads) {
        THREADENTRY32 entry{};
        entry.dwSize = sizeof(THREADENTRY32);
        entry.th32ThreadID = thread;
        entry.th32OwnerProcessID = process.id;
        entry.th32CurrentProcessID = process.id;
        snapshot->threads.push_back(entry);
      }
    }
  }
  return platform::RegisterHandle(snapshot);
}

BOOL Process32First(HANDLE snapshot, PROCESSENTRY32* entry) {
  return NextEntry(snapshot, entry, true, &Snapshot::processes, &Snapshot::nextProcess);
}
BOOL Process32Next(HANDLE snapshot, PROCESSENTRY32* entry) {
  return NextEntry(snapshot, entry, false, &Snapshot::processes, &Snapshot::nextProcess);
}
BOOL Thread32First(HANDLE snapshot, THREADENTRY32* entry) {
  return NextEntry(snapshot, entry, true, &Snapshot::threads, &Snapshot::nextThread);
}
BOOL Thread32Next(HANDLE snapshot, THREADENTRY32* entry) {
  return NextEntry(snapshot, entry, false, &Snapshot::threads, &Snapshot::nextThread);
}
BOOL CloseToolhelp32Snapshot(HANDLE snapshot) {
  return CloseHandle(snapshot);
}

HANDLE OpenProcess(DWORD, BOOL, DWORD processId) {
  if (!platform::IsDeviceProcess(processId)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return platform::RegisterHandle(std::make_shared<ProcessHandle>(processId));
}
