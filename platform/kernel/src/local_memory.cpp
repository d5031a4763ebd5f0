#include "platform/local_memory.h"

#include <cstdlib>

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
  if (bytes == 0) return nullptr;
  void* block = (flags & LMEM_ZEROINIT) ? std::calloc(1, bytes) : std::malloc(bytes);
  if (!block) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return block;
}

HLOCAL LocalFree(HLOCAL block) {
  std::free(block);
  return nullptr;
}
