// The processes of the device, and the tool-help snapshots over them.
//
// A device's processes are the host processes started with the same VDEVICE_HOME that have
// joined the device. A process joins the first time it uses something the device's processes
// share (a named mutex, a thread message queue, the telephony line): JoinDevice() records it as
// the file processes/<host pid> in the device home, and opens its message channel. An entry
// whose host process is gone (or whose pid now belongs to a later process) is ignored and
// removed.
//
// The device name of a process is the file name of its host executable, with ".exe" appended
// unless it already ends in ".exe" (any case): the host file "Callchime" runs as "Callchime.exe".
// Thread ids are host thread ids; the threads of a process are its host threads.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform {

void JoinDevice();  // idempotent

std::u16string DeviceProcessName(const std::filesystem::path& hostExecutable);

struct DeviceProcess {
  DWORD id;
  std::u16string exeName;
};
std::vector<DeviceProcess> ListDeviceProcesses();
std::vector<DWORD> ListProcessThreads(DWORD processId);
bool IsDeviceProcess(DWORD processId);
// The device process that owns a thread id, or 0.
DWORD ProcessOfThread(DWORD threadId);

}  // namespace platform

inline constexpr DWORD ERROR_NO_MORE_FILES = 18;
inline constexpr DWORD TH32CS_SNAPPROCESS = 0x2;
inline constexpr DWORD TH32CS_SNAPTHREAD = 0x4;

// Record layouts as the device has them (all fields 32-bit).
struct PROCESSENTRY32 {
  DWORD dwSize;  // 564
  DWORD cntUsage;
  DWORD th32ProcessID;
  DWORD th32DefaultHeapID;
  DWORD th32ModuleID;
  DWORD cntThreads;
  DWORD th32ParentProcessID;
  LONG pcPriClassBase;
  DWORD dwFlags;
  WCHAR szExeFile[260];
  DWORD th32MemoryBase;
  DWORD th32AccessKey;
};

struct THREADENTRY32 {
  DWORD dwSize;  // 36
  DWORD cntUsage;
  DWORD th32ThreadID;
  DWORD th32OwnerProcessID;
  LONG tpBasePri;
  LONG tpDeltaPri;
  DWORD dwFlags;
  DWORD th32AccessKey;
  DWORD th32CurrentProcessID;
};

// A snapshot of the device's processes and their threads, taken at the call.
HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId);
BOOL Process32First(HANDLE snapshot, PROCESSENTRY32* entry);
BOOL Process32Next(HANDLE snapshot, PROCESSENTRY32* entry);
BOOL Thread32First(HANDLE snapshot, THREADENTRY32* entry);
BOOL Thread32Next(HANDLE snapshot, THREADENTRY32* entry);
BOOL CloseToolhelp32Snapshot(HANDLE snapshot);

// A waitable handle to a device process: signalled when the process has ended.
HANDLE OpenProcess(DWORD access, BOOL inherit, DWORD processId);
