#include "callchime/settings.h"

#include "platform/local_memory.h"

namespace callchime {
namespace {

template <size_t N>
int Lookup(const std::array<int, N>& table, int index, int fallback) {
  return index >= 0 && static_cast<size_t>(index) < N ? table[static_cast<size_t>(index)]
                                                      : fallback;
}

}  // namespace

int IntervalMs(int index) {
  return Lookup(kIntervalTableMs, index, kIntervalFallbackMs);
}
int SignalBeforeMs(int index) {
  return Lookup(kSignalBeforeTableMs, index, kSignalBeforeFallbackMs);
}
int ScreenOffDelayMs(int index) {
  return Lookup(kScreenOffTableMs, index, kScreenOffFallbackMs);
}

SettingsKey::SettingsKey() : SettingsKey(kSettingsPath) {}

SettingsKey::SettingsKey(const WCHAR* path) : path_(path) {}

SettingsKey::~SettingsKey() {
  Close();
}

// Opens the key (creating it on a fresh device) with a zero-filled read buffer as large as the
// largest value it holds.
bool SettingsKey::Open() {
  if (RegOpenKeyExW(root_, path_.c_str(), 0, 0, &key_) != ERROR_SUCCESS &&
      RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                      nullptr) != ERROR_SUCCESS) {
    key_ = nullptr;
    return false;
  }
  DWORD largestValue = 0;
  if (RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       &largestValue, nullptr, nullptr) != ERROR_SUCCESS) {
    Close();
    return false;
  }
  if (largestValue != 0) {
    buffer_ = static_cast<BYTE*>(LocalAlloc(LPTR, largestValue));
    if (buffer_) bufferSize_ = largestValue;
  }
  return true;
}

void SettingsKey::Close() {
  if (buffer_) LocalFree(buffer_);
  buffer_ = nullptr;
  bufferSize_ = 0;
  if (key_) RegCloseKey(key_);
  key_ = nullptr;
}

bool SettingsKey::Read(const WCHAR* name, int16_t& value) {
  if (!Open()) return false;
  bool ok = false;
  if (buffer_) {
    DWORD type = 0;
    DWORD length = bufferSize_;
    // A REG_DWORD whose data is not four bytes is damaged and counts as absent; taking 16 bits
    // from a shorter one would read past what the registry returned.
    ok = RegQueryValueExW(key_, name, nullptr, &type, buffer_, &length) == ERROR_SUCCESS &&
         type == REG_DWORD && length == sizeof(DWORD);
    if (ok) value = static_cast<int16_t>(buffer_[0] | buffer_[1] << 8);
  }
  Close();
  return ok;
}

bool SettingsKey::Write(const WCHAR* name, int32_t value) {
  if (!Open()) return false;
  auto stored = static_cast<DWORD>(value);
  BYTE bytes[4] = {BYTE(stored), BYTE(stored >> 8), BYTE(stored >> 16), BYTE(stored >> 24)};
  bool ok = RegSetValueExW(key_, name, 0, REG_DWORD, bytes, sizeof bytes) == ERROR_SUCCESS;
  Close();
  return ok;
}

int SettingsKey::ReadOr(const WCHAR* name, int fallback) {
  int16_t value;
  return Read(name, value) ? value : fallback;
}

bool SettingsKey::Enabled() {
  return ReadOr(u"Enabled", 1) != 0;
}
int SettingsKey::OnSoundType() {
  return ReadOr(u"OnSoundType", SignalType::Sound);
}
int SettingsKey::OffSoundType() {
  return ReadOr(u"OffSoundType", SignalType::Sound);
}
int SettingsKey::RegularSoundType() {
  return ReadOr(u"RegularSoundType", SignalType::Sound);
}
int SettingsKey::RegularSoundDelay() {
  return ReadOr(u"RegularSoundDelay", 1);
}
int SettingsKey::RegularSoundBefore() {
  return ReadOr(u"RegularSoundBefore", 5);
}
int SettingsKey::TurnOffScr() {
  return ReadOr(u"TurnOffScr", 1);
}

bool SettingsKey::SetEnabled(bool enabled) {
  return Write(u"Enabled", enabled ? 1 : 0);
}
bool SettingsKey::SetOnSoundType(int type) {
  return Write(u"OnSoundType", type);
}
bool SettingsKey::SetOffSoundType(int type) {
  return Write(u"OffSoundType", type);
}
bool SettingsKey::SetRegularSoundType(int type) {
  return Write(u"RegularSoundType", type);
}
bool SettingsKey::SetRegularSoundDelay(int index) {
  return Write(u"RegularSoundDelay", index);
}
bool SettingsKey::SetRegularSoundBefore(int index) {
  return Write(u"RegularSoundBefore", index);
}
bool SettingsKey::SetTurnOffScr(int index) {
  return Write(u"TurnOffScr", index);
}

}  // namespace callchime
