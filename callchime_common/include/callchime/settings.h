// CallchimeSettings: the whole persistent state of the call-time signal service, seven small
// integers in HKEY_LOCAL_MACHINE "Software\Apps\Callchime". The service and its settings applet
// both use this one accessor and these tables.
//
// There is no cache: every getter opens the key, reads one value and closes the key again, so a
// value saved by the applet counts from the service's next event. Readers use the low 16 bits of
// a REG_DWORD as a signed number (0xFFFFFFFF reads as -1, 65536 as 0); a value that is absent,
// unreadable or of another type gives the default.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/registry.h"

namespace callchime {

inline constexpr const WCHAR* kSettingsPath = u"Software\\Apps\\Callchime";

// What a signal is: the stored number equals the applet's list position.
namespace SignalType {
enum : int { None = 0, Sound = 1, Vibrate = 2 };
}

inline constexpr int SCREEN_OFF_NEVER = -1;

// Milliseconds per stored index; an index outside a table takes its fallback.
inline constexpr std::array<int, 9> kIntervalTableMs = {30000,  60000,  90000,  120000, 180000,
                                                        240000, 300000, 480000, 600000};
inline constexpr int kIntervalFallbackMs = 60000;
inline constexpr std::array<int, 10> kSignalBeforeTableMs = {0,    1000, 2000,  3000,  4000,
                                                             5000, 7000, 10000, 15000, 20000};
inline constexpr int kSignalBeforeFallbackMs = 5000;
inline constexpr std::array<int, 6> kScreenOffTableMs = {
    SCREEN_OFF_NEVER, 5000, 10000, 15000, 20000, 25000};
inline constexpr int kScreenOffFallbackMs = 5000;

int IntervalMs(int index);
int SignalBeforeMs(int index);
int ScreenOffDelayMs(int index);  // SCREEN_OFF_NEVER for "never"

// Reads and writes the values of the settings key. Lives for one handler; the registry key is
// open only during one value access.
class SettingsKey {
 public:
  SettingsKey();
  explicit SettingsKey(const WCHAR* path);
  ~SettingsKey();
  SettingsKey(const SettingsKey&) = delete;
  SettingsKey& operator=(const SettingsKey&) = delete;

  // One value as a signed 16-bit number; false when it cannot be read as a REG_DWORD.
  bool Read(const WCHAR* name, int16_t& value);
  // Stores a REG_DWORD; true on success.
  bool Write(const WCHAR* name, int32_t value);

  bool Enabled();
  int OnSoundType();
  int OffSoundType();
  int RegularSoundType();
  int RegularSoundDelay();
  int RegularSoundBefore();
  int TurnOffScr();

  bool SetEnabled(bool enabled);
  bool SetOnSoundType(int type);
  bool SetOffSoundType(int type);
  bool SetRegularSoundType(int type);
  bool SetRegularSoundDelay(int index);
  bool SetRegularSoundBefore(int index);
  bool SetTurnOffScr(int index);

 private:
  bool Open();
  void Close();
  int ReadOr(const WCHAR* name, int fallback);

  std::u16string path_;
  HKEY root_ = HKEY_LOCAL_MACHINE;
  HKEY key_ = nullptr;
  DWORD bufferSize_ = 0;
  BYTE* buffer_ = nullptr;
};

}  // namespace callchime
