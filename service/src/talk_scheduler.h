// The talk schedule: the start signal, the elapsed-time signals a set time before each full
// interval of talk, the screen switched off after a delay, and at the end the screen given back
// and the end signal. A hidden talk window carries the two timers and exists exactly while a talk
// is in progress. Every setting is read from the registry when it is needed.
#pragma once

#include "platform/user.h"

namespace callchime {

inline constexpr WCHAR kWindowClass[] = u"CallchimeWndClass";
inline constexpr UINT_PTR ELAPSED_TIMER_ID = 2;
inline constexpr UINT_PTR SCREEN_OFF_TIMER_ID = 3;

// Set once at start-up; the signals' sounds are resources of this module.
void SetSignalModule(HINSTANCE instance);

void OnTalkStart();
void OnTalkEnd();
LRESULT TalkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace callchime
