#include "platform/device.h"
#include "platform/sync.h"
#include "platform/thread_queue.h"
#include "window_table.h"

namespace {

using platform::QueuedMessage;

MSG ToMsg(const QueuedMessage& queued) {
  return {queued.hwnd, queued.message, queued.wParam, queued.lParam, GetTickCount(), {}};
}

// Posted messages first, then due timers, as the device orders them.
bool NextMessage(MSG& out, HWND window, UINT filterMin, UINT filterMax, bool remove,
                 uint64_t& nextTimerMs) {
  auto matches = [&](const QueuedMessage& queued) {
    bool inRange = (filterMin == 0 && filterMax == 0) ||
                   (queued.message >= filterMin && queued.message <= filterMax);
    return inRange && (!window || queued.hwnd == window || queued.message == WM_QUIT);
  };
  auto queue = platform::QueueOfThread(GetCurrentThreadId());
  QueuedMessage queued;
  if (queue->Take(queued, matches, remove)) {
    out = ToMsg(queued);
    return true;
  }
  nextTimerMs = UINT64_MAX;
  bool timersWanted =
      (filterMin == 0 && filterMax == 0) || (WM_TIMER >= filterMin && WM_TIMER <= filterMax);
  if (!timersWanted) return false;
  MSG timer;
  if (!platform::user::TakeDueTimer(GetCurrentThreadId(), timer, nextTimerMs)) return false;
  if (window && timer.hwnd != window) return false;
  out = timer;
  return true;
}

}  // namespace

BOOL GetMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax) {
  if (!message) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  auto queue = platform::QueueOfThread(GetCurrentThreadId());
  for (;;) {
    uint64_t seenChanges = queue->Changes();
    uint64_t nextTimerMs;
    if (NextMessage(*message, window, filterMin, filterMax, true, nextTimerMs)) {
      return message->message == WM_QUIT ? FALSE : TRUE;
    }
    queue->WaitForChange(seenChanges, nextTimerMs);
  }
}

BOOL PeekMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!message) return FALSE;
  uint64_t nextTimerMs;
  return NextMessage(*message, window, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0,
                     nextTimerMs)
             ? TRUE
             : FALSE;
}

BOOL TranslateMessage(const MSG* message) {
  if (!message || message->message != WM_KEYDOWN) return FALSE;
  WPARAM key = message->wParam;
  WPARAM character;
  if (key == VK_RETURN) {
    character = u'\r';
  } else if (key == u' ' || (key >= u'0' && key <= u'9')) {
    character = key;
  } else if (key >= u'A' && key <= u'Z') {
    character = key + (u'a' - u'A');
  } else {
    return FALSE;
  }
  platform::QueueOfThread(GetCurrentThreadId())
      ->Post({message->hwnd, WM_CHAR, character, message->lParam});
  return TRUE;
}

LRESULT DispatchMessageW(const MSG* message) {
  if (!message) return 0;
  if (message->message == WM_TIMER && message->lParam) {
    reinterpret_cast<TIMERPROC>(message->lParam)(message->hwnd, WM_TIMER, message->wParam,
                                                 GetTickCount());
    return 0;
  }
  auto record = platform::user::FindLocalWindow(message->hwnd);
  if (!record) return 0;
  return record->procedure(message->hwnd, message->message, message->wParam, message->lParam);
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD thread = window ? platform::user::ThreadOfWindow(window) : GetCurrentThreadId();
  if (!platform::PostToDeviceThread(thread, {window, message, wParam, lParam})) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!platform::PostToDeviceThread(threadId, {nullptr, message, wParam, lParam})) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  platform::QueueOfThread(GetCurrentThreadId())
      ->Post({nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0});
}
