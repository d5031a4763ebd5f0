// The device's notification LEDs and power-managed devices.
//
// LEDs: LED 0 is the notification light, LED 1 the vibrator; a vibrator is on while its state is
// on or blinking. The backlight "BKL1:" runs at full power (D0) under the system's power
// management until a program forces a state; forcing the unspecified state (-1) hands it back to
// the system. Every change goes to the device event log (platform/event_log.h) and to the state
// files in devices/ of the device home, which the control tool reads.
#pragma once

#include <string>

#include "platform/types.h"

inline constexpr int NLED_COUNT_INFO_ID = 0;
inline constexpr int NLED_SUPPORTS_INFO_ID = 1;
inline constexpr int NLED_SETTINGS_INFO_ID = 2;

struct NLED_COUNT_INFO {
  UINT cLeds;
};

struct NLED_SUPPORTS_INFO {
  UINT LedNum;
  LONG lCycleAdjust;
  BOOL fAdjustTotalCycleTime;
  BOOL fAdjustOnTime;
  BOOL fAdjustOffTime;
  BOOL fMetaCycleOn;
  BOOL fMetaCycleOff;
};

struct NLED_SETTINGS_INFO {
  UINT LedNum;
  INT OffOnBlink;  // 0 off, 1 on, 2 blink
  LONG TotalCycleTime;
  LONG OnTime;
  LONG OffTime;
  INT MetaCycleOn;
  INT MetaCycleOff;
};

// Fills the record of the given kind; for the settings, LedNum picks the LED.
BOOL NLedGetDeviceInfo(INT infoId, void* output);
// Applies an NLED_SETTINGS_INFO (the only settable kind).
BOOL NLedSetDevice(INT deviceId, void* input);

enum CEDEVICE_POWER_STATE : int {
  PwrDeviceUnspecified = -1,
  D0 = 0,
  D1 = 1,
  D2 = 2,
  D3 = 3,
  D4 = 4,
};

inline constexpr DWORD POWER_NAME = 0x00000001;
inline constexpr DWORD POWER_FORCE = 0x00001000;

// Only "BKL1:" is known (by name, POWER_NAME). Without POWER_FORCE a request changes nothing
// while the state is forced.
DWORD SetDevicePower(LPVOID device, DWORD flags, CEDEVICE_POWER_STATE state);

namespace platform {

// Current states as the control tool shows them.
std::string DescribeLedState(UINT led);
std::string DescribeBacklightState();

// Current states as a windowed host shows them: the backlight's power state (D0-D4) and whether
// an LED is on or blinking. Read from the device's shared state, so changes made by any process
// of the device show.
int BacklightLevel();
bool LedIsOn(UINT led);

}  // namespace platform
