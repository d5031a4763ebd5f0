#include "service_main.h"

#include "callchime/messages.h"
#include "line_watcher.h"
#include "platform/audio.h"
#include "platform/kernel.h"
#include "platform/user.h"
#include "signal_output.h"
#include "talk_scheduler.h"

namespace callchime {
namespace {

constexpr WCHAR kMutexName[] = u"_CALLCHIME_EXE_MUTEX_";

// The start and the stop of the service sound alike; PlaySoundW returns after the sound.
void PlayServiceSound(HINSTANCE instance) {
  PlaySoundW(MAKEINTRESOURCEW(kChimeSound), instance, SND_RESOURCE);
}

void RegisterTalkWindowClass(HINSTANCE instance) {
  WNDCLASSW windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = TalkWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassW(&windowClass);
}

void RunMessageLoop(HINSTANCE instance) {
  MSG message;
  for (;;) {
    // WM_QUIT (a result of 0) does not end the service: only its own quit message does.
    if (GetMessageW(&message, nullptr, 0, 0) == 0) continue;
    switch (message.message) {
      case WM_SERVICE_QUIT:
        PlayServiceSound(instance);
        OnTalkEnd();
        StopLineWatcher();
        return;
      case WM_TALK_STARTED: OnTalkStart(); break;
      case WM_TALK_ENDED: OnTalkEnd(); break;
      default:
        TranslateMessage(&message);
        DispatchMessageW(&message);
        break;
    }
  }
}

}  // namespace

int RunService(HINSTANCE instance) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
  if (!mutex) return 0;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return 0;
  }
  SetSignalModule(instance);
  RegisterTalkWindowClass(instance);
  if (!StartLineWatcher(GetCurrentThreadId())) {
    MessageBoxW(nullptr, u"Failed to initialize TAPI.", u"Callchime", MB_ICONHAND);
    CloseHandle(mutex);
    return 0;
  }
  PlayServiceSound(instance);
  RunMessageLoop(instance);
  CloseHandle(mutex);
  return 0;
}

}  // namespace callchime
