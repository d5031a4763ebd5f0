// Windows, thread message queues and timers.
//
// Each thread has its own queue (platform/thread_queue.h). A window belongs to the thread that
// created it; its handle carries that thread's id, so PostMessageW and PostThreadMessageW reach
// windows and threads of the other processes of the device as well. Window procedures run on the
// thread that dispatches or sends to them; SendMessageW calls the procedure directly on the
// calling thread (windows of another process cannot be sent to). Timers run on the device clock
// and arrive as WM_TIMER when the queue holds nothing else, one pending tick per timer.
// FindWindowW searches the windows of every process of the device.
#pragma once

#include "platform/types.h"

using ATOM = WORD;
using HICON = struct HICON__*;
using HCURSOR = HICON;
using HBRUSH = struct HBRUSH__*;
using HMENU = struct HMENU__*;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_USER = 0x0400;

inline constexpr UINT CS_VREDRAW = 0x0001;
inline constexpr UINT CS_HREDRAW = 0x0002;
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;
inline constexpr WPARAM VK_RETURN = 0x0D;

struct POINT {
  LONG x;
  LONG y;
};

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};

struct WNDCLASSW {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCWSTR lpszMenuName;
  LPCWSTR lpszClassName;
};

struct CREATESTRUCTW {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCWSTR lpszName;
  LPCWSTR lpszClass;
  DWORD dwExStyle;
};

// Window classes are per process; registering a name twice fails.
ATOM RegisterClassW(const WNDCLASSW* windowClass);
// Sends WM_CREATE (lParam: the CREATESTRUCTW); a result of -1 destroys the window again.
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param);
// Sends WM_DESTROY, then removes the window with its timers.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
// WM_CLOSE destroys the window; everything else gives 0.
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Waits for the next message of the calling thread; 0 for WM_QUIT.
BOOL GetMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax);
BOOL PeekMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
// Posts WM_CHAR after a WM_KEYDOWN of Enter, space, a digit or a letter.
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageW(const MSG* message);
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Arms (or re-arms) a timer; with a null window the timer belongs to the calling thread.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapseMs, TIMERPROC callback);
BOOL KillTimer(HWND window, UINT_PTR id);

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName);
DWORD GetWindowThreadProcessId(HWND window, LPDWORD processId);
