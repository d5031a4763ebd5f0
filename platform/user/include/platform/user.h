// The user area of the device layer: message boxes, and the windows and messages that join them.
#pragma once

#include "platform/types.h"

// Message box styles: the buttons (low four bits) and the icon.
inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_OKCANCEL = 0x00000001;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
inline constexpr UINT MB_YESNOCANCEL = 0x00000003;
inline constexpr UINT MB_YESNO = 0x00000004;
inline constexpr UINT MB_RETRYCANCEL = 0x00000005;
inline constexpr UINT MB_TYPEMASK = 0x0000000F;
inline constexpr UINT MB_ICONHAND = 0x00000010;
inline constexpr UINT MB_ICONSTOP = MB_ICONHAND;
inline constexpr UINT MB_ICONERROR = MB_ICONHAND;
inline constexpr UINT MB_ICONQUESTION = 0x00000020;
inline constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
inline constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr UINT MB_ICONASTERISK = 0x00000040;
inline constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr UINT MB_SETFOREGROUND = 0x00010000;
inline constexpr UINT MB_TOPMOST = 0x00040000;

// Message box answers.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Shows a message box and waits for the answer. Without a windowed host (the default, and always
// under tests) it prints caption and text to standard error and answers with the first button
// (IDOK for MB_OK), as if the user had pressed it at once.
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

namespace platform {

// A host that can show message boxes itself (a windowed host) installs one of these; it gets the
// box's arguments and returns the button pressed. Null restores the headless behaviour.
using MessageBoxPresenter = int (*)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
void SetMessageBoxPresenter(MessageBoxPresenter presenter);

}  // namespace platform
