#include <condition_variable>
#include <map>
#include <mutex>
#include <string>

#include "platform/device.h"
#include "platform/sync.h"
#include "platform/wide_text.h"

namespace {

class Event final : public platform::Waitable {
 public:
  Event(bool manualReset, bool signalled) : manualReset_(manualReset), signalled_(signalled) {}

  void Set() {
    std::lock_guard lock(mutex_);
    signalled_ = true;
    if (manualReset_) {
      changed_.notify_all();
    } else {
      changed_.notify_one();
    }
  }

  void Reset() {
    std::lock_guard lock(mutex_);
    signalled_ = false;
  }

  bool Wait(DWORD timeoutMs) override {
    std::unique_lock lock(mutex_);
    auto ready = [this] { return signalled_; };
    if (timeoutMs == INFINITE) {
      changed_.wait(lock, ready);
    } else if (!changed_.wait_for(
                   lock, std::chrono::nanoseconds(platform::DeviceToHostNs(timeoutMs)), ready)) {
      return false;
    }
    if (!manualReset_) signalled_ = false;
    return true;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  const bool manualReset_;
  bool signalled_;
};

// Named events of this process: a second CreateEventW of a name returns the same event.
std::mutex namedMutex;
std::map<std::u16string, std::weak_ptr<Event>> namedEvents;

}  // namespace

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCWSTR name) {
  std::shared_ptr<Event> event;
  SetLastError(ERROR_SUCCESS);
  if (name && *name) {
    std::lock_guard lock(namedMutex);
    auto& slot = namedEvents[std::u16string(name)];
    event = slot.lock();
    if (event) {
      SetLastError(ERROR_ALREADY_EXISTS);
    } else {
      event = std::make_shared<Event>(manualReset != FALSE, initialState != FALSE);
      slot = event;
    }
  } else {
    event = std::make_shared<Event>(manualReset != FALSE, initialState != FALSE);
  }
  return platform::RegisterHandle(event);
}

BOOL SetEvent(HANDLE handle) {
  auto event = platform::LookupHandleAs<Event>(handle);
  if (!event) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  event->Set();
  return TRUE;
}

BOOL ResetEvent(HANDLE handle) {
  auto event = platform::LookupHandleAs<Event>(handle);
  if (!event) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  event->Reset();
  return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD timeoutMs) {
  auto object = platform::LookupHandleAs<platform::Waitable>(handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  return object->Wait(timeoutMs) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

void Sleep(DWORD milliseconds) {
  platform::DeviceSleepMs(milliseconds);
}

DWORD GetTickCount() {
  return static_cast<DWORD>(platform::DeviceNowMs());
}
