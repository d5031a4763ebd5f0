#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/device.h"
#include "platform/sync.h"
#include "platform/thread_queue.h"
#include "window_table.h"

namespace platform::user {
namespace {

// The device's shortest timer period; shorter requests are raised to it.
constexpr UINT kMinimumElapseMs = 10;

struct Timer {
  HWND window;
  UINT_PTR id;
  DWORD thread;
  UINT elapseMs;
  uint64_t dueMs;
  TIMERPROC callback;
};

std::mutex timersMutex;
std::vector<Timer> timers;
UINT_PTR nextThreadTimerId = 1;

}  // namespace

bool TakeDueTimer(DWORD thread, MSG& out, uint64_t& nextDueMs) {
  std::lock_guard lock(timersMutex);
  nextDueMs = UINT64_MAX;
  Timer* earliest = nullptr;
  for (auto& timer : timers) {
    if (timer.thread == thread && (!earliest || timer.dueMs < earliest->dueMs)) earliest = &timer;
  }
  if (!earliest) return false;
  uint64_t now = DeviceNowMs();
  if (earliest->dueMs > now) {
    nextDueMs = earliest->dueMs;
    return false;
  }
  // Ticks missed while the thread was busy collapse into this one.
  earliest->dueMs = now + earliest->elapseMs;
  out = {
      earliest->window,        WM_TIMER, earliest->id, reinterpret_cast<LPARAM>(earliest->callback),
      static_cast<DWORD>(now), {}};
  return true;
}

void KillWindowTimers(HWND window) {
  std::lock_guard lock(timersMutex);
  std::erase_if(timers, [window](const Timer& timer) { return timer.window == window; });
}

}  // namespace platform::user

using namespace platform::user;

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapseMs, TIMERPROC callback) {
  DWORD thread = GetCurrentThreadId();
  if (window) {
    auto record = FindLocalWindow(window);
    if (!record) {
      SetLastError(ERROR_INVALID_HANDLE);
      return 0;
    }
    thread = record->thread;
  }
  UINT elapse = std::max(elapseMs, kMinimumElapseMs);
  {
    std::lock_guard lock(timersMutex);
    if (!window) {
      // A thread timer gets a fresh id unless an existing one of this thread is re-armed.
      bool known = std::any_of(timers.begin(), timers.end(), [&](const Timer& timer) {
        return !timer.window && timer.id == id && timer.thread == thread;
      });
      if (!known) id = nextThreadTimerId++;
    }
    auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& timer) {
      return timer.window == window && timer.id == id && timer.thread == thread;
    });
    Timer armed{window, id, thread, elapse, platform::DeviceNowMs() + elapse, callback};
    if (it == timers.end()) {
      timers.push_back(armed);
    } else {
      *it = armed;
    }
  }
  platform::QueueOfThread(thread)->Wake();
  return window ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
  std::lock_guard lock(timersMutex);
  auto removed = std::erase_if(timers, [&](const Timer& timer) {
    return timer.window == window && timer.id == id &&
           (window || timer.thread == GetCurrentThreadId());
  });
  return removed ? TRUE : FALSE;
}
