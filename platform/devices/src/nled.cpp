
#include <fstream>
#include <string>

#include "platform/device.h"
#include "platform/devices.h"
#include "platform/event_log.h"

namespace {

constexpr UINT kLedCount = 2;
constexpr UINT kVibratorLed = 1;

std::filesystem::path LedStateFile(UINT led) {
  auto folder = platform::DeviceHome() / "devices";
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return folder / ("led" + std::to_string(led));
}

NLED_SETTINGS_INFO ReadLed(UINT led) {
  NLED_SETTINGS_INFO settings{};
  settings.LedNum = led;
  std::ifstream file(LedStateFile(led));
  NLED_SETTINGS_INFO stored{};
  if (file >> stored.OffOnBlink >> stored.TotalCycleTime >> stored.OnTime >> stored.OffTime >>
      stored.MetaCycleOn >> stored.MetaCycleOff) {
    stored.LedNum = led;
    settings = stored;
  }
  return settings;
}

const char* StateName(int offOnBlink) {
  switch (offOnBlink) {
    case 0: return "off";
    case 1: return "on";
    case 2: return "blink";
    default: return "unknown";
  }
}

std::string LedDeviceName(UINT led) {
  return led == kVibratorLed ? "vibrator" : "led" + std::to_string(led);
}

}  // namespace

BOOL NLedGetDeviceInfo(INT infoId, void* output) {
  if (!output) return FALSE;
  switch (infoId) {
    case NLED_COUNT_INFO_ID: static_cast<NLED_COUNT_INFO*>(output)->cLeds = kLedCount; return TRUE;
    case NLED_SUPPORTS_INFO_ID: {
      auto* supports = static_cast<NLED_SUPPORTS_INFO*>(output);
      if (supports->LedNum >= kLedCount) return FALSE;
      UINT led = supports->LedNum;
      *supports = {};
      supports->LedNum = led;
      supports->lCycleAdjust = 1000;
      supports->fAdjustTotalCycleTime = led != kVibratorLed;
      return TRUE;
    }
    case NLED_SETTINGS_INFO_ID: {
      auto* settings = static_cast<NLED_SETTINGS_INFO*>(output);
      if (settings->LedNum >= kLedCount) return FALSE;
      *settings = ReadLed(settings->LedNum);
      return TRUE;
    }
    default: return FALSE;
  }
}

BOOL NLedSetDevice(INT deviceId, void* input) {
  if (deviceId != NLED_SETTINGS_INFO_ID || !input) return FALSE;
  const auto& settings = *static_cast<const NLED_SETTINGS_INFO*>(input);
  if (settings.LedNum >= kLedCount || settings.OffOnBlink < 0 || settings.OffOnBlink > 2) {
    return FALSE;
  }
  {
    std::ofstream file(LedStateFile(settings.LedNum), std::ios::trunc);
    file << settings.OffOnBlink << ' ' << settings.TotalCycleTime << ' ' << settings.OnTime << ' '
         << settings.OffTime << ' ' << settings.MetaCycleOn << ' ' << settings.MetaCycleOff << '\n';
  }
  platform::AppendDeviceEvent(LedDeviceName(settings.LedNum), StateName(settings.OffOnBlink));
  return TRUE;
}

namespace platform {

bool LedIsOn(UINT led) {
  return ReadLed(led).OffOnBlink != 0;
}

std::string DescribeLedState(UINT led) {
  if (led >= kLedCount) return "no such LED";
  return LedDeviceName(led) + ' ' + StateName(ReadLed(led).OffOnBlink);
}

}  // namespace platform
