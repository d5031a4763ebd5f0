// Window classes and windows, and the list of this process's windows that FindWindowW of the
// other processes reads (windows/<pid> in the device home: handle, class and title per line).
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

#include "platform/device.h"
#include "platform/process.h"
#include "platform/sync.h"
#include "platform/wide_text.h"
#include "window_table.h"

namespace platform::user {
namespace {

constexpr int kSerialBits = 24;

std::mutex tableMutex;
std::map<std::u16string, WNDCLASSW> classes;  // keyed by lower-case name
std::map<HWND, WindowRecord> windows;
uint64_t nextSerial = 1;

std::u16string Lower(std::u16string_view text) {
  std::u16string out(text);
  for (auto& c : out) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  }
  return out;
}

std::filesystem::path WindowListOf(DWORD processId) {
  return DeviceHome() / "windows" / std::to_string(processId);
}

// Rewrites this process's window list; called with the table locked.
void PublishWindows() {
  std::error_code ignored;
  auto path = WindowListOf(GetCurrentProcessId());
  std::filesystem::create_directories(path.parent_path(), ignored);
  auto temporary = path;
  temporary += ".new";
  {
    std::ofstream file(temporary, std::ios::trunc);
    for (const auto& [handle, record] : windows) {
      file << reinterpret_cast<uint64_t>(handle) << '\t' << ToUtf8(record.className) << '\t'
           << ToUtf8(record.title) << '\n';
    }
  }
  std::filesystem::rename(temporary, path, ignored);
}

bool Matches(std::u16string_view className, std::u16string_view title, LPCWSTR wantedClass,
             LPCWSTR wantedTitle) {
  return (!wantedClass || EqualsIgnoreCase(className, wantedClass)) &&
         (!wantedTitle || title == wantedTitle);
}

}  // namespace

std::optional<WindowRecord> FindLocalWindow(HWND window) {
  std::lock_guard lock(tableMutex);
  auto it = windows.find(window);
  if (it == windows.end()) return std::nullopt;
  return it->second;
}

DWORD ThreadOfWindow(HWND window) {
  return static_cast<DWORD>(reinterpret_cast<uint64_t>(window) >> kSerialBits);
}

}  // namespace platform::user

using namespace platform::user;

ATOM RegisterClassW(const WNDCLASSW* windowClass) {
  if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::lock_guard lock(tableMutex);
  auto [it, added] = classes.emplace(Lower(windowClass->lpszClassName), *windowClass);
  if (!added) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return 0;
  }
  return static_cast<ATOM>(0xC000 + classes.size());
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
  platform::JoinDevice();
  HWND handle;
  WNDPROC procedure;
  {
    std::lock_guard lock(tableMutex);
    auto it = classes.find(Lower(platform::WideView(className)));
    if (it == classes.end()) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    procedure = it->second.lpfnWndProc;
    uint64_t serial = nextSerial++ & ((1ull << kSerialBits) - 1);
    handle = reinterpret_cast<HWND>((uint64_t{GetCurrentThreadId()} << kSerialBits) | serial);
    windows[handle] = {procedure, GetCurrentThreadId(), it->second.lpszClassName,
                       std::u16string(platform::WideView(windowName))};
    PublishWindows();
  }
  CREATESTRUCTW create{};
  create.lpCreateParams = param;
  create.hInstance = instance;
  create.hMenu = menu;
  create.hwndParent = parent;
  create.cy = height;
  create.cx = width;
  create.y = y;
  create.x = x;
  create.style = static_cast<LONG>(style);
  create.lpszName = windowName;
  create.lpszClass = className;
  create.dwExStyle = exStyle;
  if (procedure(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }
  return handle;
}

BOOL DestroyWindow(HWND window) {
  auto record = FindLocalWindow(window);
  if (!record) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  record->procedure(window, WM_DESTROY, 0, 0);
  KillWindowTimers(window);
  std::lock_guard lock(tableMutex);
  windows.erase(window);
  PublishWindows();
  return TRUE;
}

BOOL IsWindow(HWND window) {
  return FindLocalWindow(window) ? TRUE : FALSE;
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM, LPARAM) {
  if (message == WM_CLOSE) DestroyWindow(window);
  return 0;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto record = FindLocalWindow(window);
  if (!record) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return record->procedure(window, message, wParam, lParam);
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
  {
    std::lock_guard lock(tableMutex);
    for (const auto& [handle, record] : windows) {
      if (Matches(record.className, record.title, className, windowName)) return handle;
    }
  }
  for (const auto& process : platform::ListDeviceProcesses()) {
    if (process.id == GetCurrentProcessId()) continue;
    std::ifstream list(WindowListOf(process.id));
    std::string line;
    while (std::getline(list, line)) {
      std::istringstream fields(line);
      std::string handle, windowClass, title;
      if (!std::getline(fields, handle, '\t') || !std::getline(fields, windowClass, '\t')) continue;
      std::getline(fields, title);
      if (Matches(platform::FromUtf8(windowClass), platform::FromUtf8(title), className,
                  windowName)) {
        return reinterpret_cast<HWND>(std::strtoull(handle.c_str(), nullptr, 10));
      }
    }
  }
  return nullptr;
}

DWORD GetWindowThreadProcessId(HWND window, LPDWORD processId) {
  DWORD thread = ThreadOfWindow(window);
  if (processId) {
    *processId =
        FindLocalWindow(window) ? GetCurrentProcessId() : platform::ProcessOfThread(thread);
  }
  return thread;
}
