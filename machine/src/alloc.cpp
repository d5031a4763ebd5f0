#include "machine/alloc.h"

#include <cstdint>

#include "platform/memory.h"
#include "platform/threads.h"
#include "platform/user.h"

namespace machine {

void* AllocZeroed(std::size_t size) {
  void* block = VirtualAlloc(nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  if (!block) {
    MessageBoxW(nullptr, u"There is not enough memory available to run this program successfully.",
                u"Quorbix", MB_ICONHAND);
    ExitThread(0);
  }
  return block;
}

void FreeBlock(void* block) {
  if (!block || block == reinterpret_cast<void*>(UINTPTR_MAX)) return;
  VirtualFree(block, 0, MEM_RELEASE);
}

}  // namespace machine
