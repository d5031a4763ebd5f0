#include "talk_scheduler.h"

#include "callchime/settings.h"
#include "signal_output.h"

namespace callchime {
namespace {

// Hidden pop-up; the extra style bit is the one the talk window has always been created with.
constexpr DWORD kTalkWindowStyle = WS_POPUP | 0x00010000;

HINSTANCE signalModule = nullptr;
HWND talkWindow = nullptr;  // non-null exactly while a talk is in progress
bool screenIsOff = false;

// A sound when the stored type is Sound, a vibration when it is Vibrate, else nothing. The type
// is read again before the vibration test, as each value is read at the moment it is used.
void GiveSignal(int (SettingsKey::*readType)(), unsigned sound, bool keepVolume,
                bool forceSpeaker) {
  SettingsKey settings;
  if ((settings.*readType)() == SignalType::Sound) {
    PlaySignalWave(signalModule, sound, keepVolume, forceSpeaker);
  } else if ((settings.*readType)() == SignalType::Vibrate) {
    VibratePulse();
  }
}

void ArmScreenOffTimer(HWND window) {
  int delay = ScreenOffDelayMs(SettingsKey().TurnOffScr());
  if (delay != SCREEN_OFF_NEVER)
    SetTimer(window, SCREEN_OFF_TIMER_ID, static_cast<UINT>(delay), nullptr);
}

void OnElapsedTimer(HWND window) {
  // Re-armed before the signal, so the signal's own length does not stretch the period.
  SetTimer(window, ELAPSED_TIMER_ID,
           static_cast<UINT>(IntervalMs(SettingsKey().RegularSoundDelay())), nullptr);
  GiveSignal(&SettingsKey::RegularSoundType, kElapsedSound, false, false);
}

void OnScreenOffTimer(HWND window) {
  if (!screenIsOff) {
    ScreenOff();
    screenIsOff = true;
  }
  KillTimer(window, SCREEN_OFF_TIMER_ID);
}

}  // namespace

void SetSignalModule(HINSTANCE instance) {
  signalModule = instance;
}

void OnTalkStart() {
  if (talkWindow) return;
  talkWindow = CreateWindowExW(0, kWindowClass, u"", kTalkWindowStyle, 0, 0, 0, 0, nullptr, nullptr,
                               nullptr, nullptr);
  if (!talkWindow) return;
  GiveSignal(&SettingsKey::OnSoundType, kChimeSound, true, true);
  SettingsKey settings;
  if (settings.RegularSoundType() != SignalType::None) {
    int firstMs =
        IntervalMs(settings.RegularSoundDelay()) - SignalBeforeMs(settings.RegularSoundBefore());
    SetTimer(talkWindow, ELAPSED_TIMER_ID, static_cast<UINT>(firstMs), nullptr);
  }
  ArmScreenOffTimer(talkWindow);
}

void OnTalkEnd() {
  if (!talkWindow) return;
  if (screenIsOff) {
    ScreenRestore();
    screenIsOff = false;
  }
  GiveSignal(&SettingsKey::OffSoundType, kChimeSound, true, true);
  DestroyWindow(talkWindow);
  talkWindow = nullptr;
}

LRESULT TalkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
    case WM_CLOSE: return 0;  // a close request does not end the talk
    case WM_DESTROY: KillTimer(window, ELAPSED_TIMER_ID); return 0;
    case WM_TIMER:
      if (wParam == ELAPSED_TIMER_ID) {
        OnElapsedTimer(window);
      } else if (wParam == SCREEN_OFF_TIMER_ID) {
        OnScreenOffTimer(window);
      }
      break;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN && screenIsOff) {
        ScreenRestore();
        screenIsOff = false;
        ArmScreenOffTimer(window);
      }
      break;
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace callchime
