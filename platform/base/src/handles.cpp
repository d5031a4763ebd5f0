#include "platform/handles.h"

#include <mutex>
#include <unordered_map>

namespace platform {
namespace {

std::mutex tableMutex;
std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>> table;
uintptr_t nextHandle = 0x100;  // small multiples of 4, like the device's own handles

}  // namespace

HANDLE RegisterHandle(std::shared_ptr<KernelObject> object) {
  std::lock_guard lock(tableMutex);
  uintptr_t value = nextHandle;
  nextHandle += 4;
  table.emplace(value, std::move(object));
  return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> LookupHandle(HANDLE handle) {
  std::lock_guard lock(tableMutex);
  auto it = table.find(reinterpret_cast<uintptr_t>(handle));
  return it == table.end() ? nullptr : it->second;
}

bool ReleaseHandle(HANDLE handle) {
  std::shared_ptr<KernelObject> doomed;  // destroyed outside the lock
  std::lock_guard lock(tableMutex);
  auto it = table.find(reinterpret_cast<uintptr_t>(handle));
  if (it == table.end()) return false;
  doomed = std::move(it->second);
  table.erase(it);
  return true;
}

}  // namespace platform

BOOL CloseHandle(HANDLE handle) {
  if (platform::ReleaseHandle(handle)) return TRUE;
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}
