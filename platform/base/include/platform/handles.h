// The one table that maps HANDLE values to the device layer's kernel objects (files, events,
// mutexes, threads, ...). Every area registers its objects here, so CloseHandle and the waits
// work on any of them.
#pragma once

#include <memory>

#include "platform/types.h"

namespace platform {

class KernelObject {
 public:
  virtual ~KernelObject() = default;
};

// Takes ownership and returns a fresh handle (never null, never INVALID_HANDLE_VALUE).
HANDLE RegisterHandle(std::shared_ptr<KernelObject> object);

// The object behind a handle, or null for an unknown or closed handle.
std::shared_ptr<KernelObject> LookupHandle(HANDLE handle);

template <typename T>
std::shared_ptr<T> LookupHandleAs(HANDLE handle) {
  return std::dynamic_pointer_cast<T>(LookupHandle(handle));
}

// Removes the handle; the object lives on while someone else still holds it.
bool ReleaseHandle(HANDLE handle);

}  // namespace platform

// Closes any handle of the table.
BOOL CloseHandle(HANDLE handle);
