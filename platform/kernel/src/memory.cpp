#include "platform/memory.h"

#include <sys/mman.h>

#include <cstdlib>
#include <mutex>
#include <unordered_map>

namespace {

std::mutex blocksMutex;
std::unordered_map<void*, SIZE_T> blocks;  // committed block -> its size
SIZE_T committedBytes = 0;

SIZE_T DeviceMemoryLimit() {
  static const SIZE_T limit = [] {
    const char* env = std::getenv("VDEVICE_MEMORY_MB");
    const unsigned long long mb = env ? std::strtoull(env, nullptr, 10) : 0;
    return mb ? static_cast<SIZE_T>(mb) << 20 : ~SIZE_T{0};
  }();
  return limit;
}

}  // namespace

LPVOID VirtualAlloc(LPVOID address, SIZE_T size, DWORD allocationType, DWORD protect) {
  if (address || size == 0 || !(allocationType & MEM_COMMIT) || protect != PAGE_READWRITE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::lock_guard lock(blocksMutex);
  if (size > DeviceMemoryLimit() - committedBytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  // Anonymous mappings come zero-filled, as committed device pages do.
  void* block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  blocks.emplace(block, size);
  committedBytes += size;
  return block;
}

BOOL VirtualFree(LPVOID address, SIZE_T size, DWORD freeType) {
  std::lock_guard lock(blocksMutex);
  auto it = blocks.find(address);
  if (it == blocks.end() || size != 0 || freeType != MEM_RELEASE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  munmap(it->first, it->second);
  committedBytes -= it->second;
  blocks.erase(it);
  return TRUE;
}
