// The windows and timers of this process, shared by the window, message-loop and timer sources.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/window_messages.h"

namespace platform::user {

struct WindowRecord {
  WNDPROC procedure;
  DWORD thread;
  std::u16string className;
  std::u16string title;
};

std::optional<WindowRecord> FindLocalWindow(HWND window);
// The thread a window handle belongs to (its handle carries it), local or not.
DWORD ThreadOfWindow(HWND window);

// The earliest timer of a thread: fills a WM_TIMER and re-arms it when one is due; otherwise
// tells when the next one will be (UINT64_MAX: none).
bool TakeDueTimer(DWORD thread, MSG& out, uint64_t& nextDueMs);
void KillWindowTimers(HWND window);

}  // namespace platform::user
