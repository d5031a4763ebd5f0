#include "callchime/settings.h"

#include <gtest/gtest.h>

#include <vector>

#include "test_support/device_home.h"

namespace {

using callchime::SettingsKey;

class SettingsTest : public ::testing::Test {
 protected:
  static void Store(const WCHAR* name, DWORD type, std::vector<BYTE> data) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, callchime::kSettingsPath, 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, data.data(), static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  static void StoreDword(const WCHAR* name, DWORD value) {
    Store(name, REG_DWORD, {BYTE(value), BYTE(value >> 8), BYTE(value >> 16), BYTE(value >> 24)});
  }

  test_support::ScopedDeviceHome home_;
};

TEST(SettingsTables, LookupsTakeTheFallbackOutsideTheTables) {
  struct Case {
    int (*lookup)(int);
    int index;
    int expectedMs;
  };
  const Case cases[] = {
      {callchime::IntervalMs, 0, 30000},       {callchime::IntervalMs, 7, 480000},
      {callchime::IntervalMs, 8, 600000},      {callchime::IntervalMs, 9, 60000},
      {callchime::IntervalMs, -1, 60000},      {callchime::SignalBeforeMs, 0, 0},
      {callchime::SignalBeforeMs, 9, 20000},   {callchime::SignalBeforeMs, 10, 5000},
      {callchime::SignalBeforeMs, -1, 5000},   {callchime::ScreenOffDelayMs, 0, -1},
      {callchime::ScreenOffDelayMs, 5, 25000}, {callchime::ScreenOffDelayMs, 6, 5000},
      {callchime::ScreenOffDelayMs, -1, 5000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.lookup(c.index), c.expectedMs) << "index " << c.index;
  }
}

TEST_F(SettingsTest, FreshDeviceCreatesTheKeyAndGivesEveryDefault) {
  SettingsKey settings;
  EXPECT_TRUE(settings.Enabled());
  EXPECT_EQ(settings.OnSoundType(), callchime::SignalType::Sound);
  EXPECT_EQ(settings.OffSoundType(), callchime::SignalType::Sound);
  EXPECT_EQ(settings.RegularSoundType(), callchime::SignalType::Sound);
  EXPECT_EQ(settings.RegularSoundDelay(), 1);
  EXPECT_EQ(settings.RegularSoundBefore(), 5);
  EXPECT_EQ(settings.TurnOffScr(), 1);
  HKEY key;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, callchime::kSettingsPath, 0, 0, &key), ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(SettingsTest, StoredDwordsReadAsTheirLowHalfSigned) {
  struct Case {
    DWORD stored;
    int expected;
  };
  const Case cases[] = {{0xFFFFFFFF, -1}, {65538, 2}, {65536, 0}, {7, 7}, {0x8000, -32768}};
  for (const auto& c : cases) {
    StoreDword(u"RegularSoundDelay", c.stored);
    EXPECT_EQ(SettingsKey().RegularSoundDelay(), c.expected) << "stored " << c.stored;
  }
}

TEST_F(SettingsTest, EnabledStoredAs65536ReadsAsOff) {
  StoreDword(u"Enabled", 65536);
  EXPECT_FALSE(SettingsKey().Enabled());
}

TEST_F(SettingsTest, ValuesOfOtherTypesReadAsAbsent) {
  Store(u"TurnOffScr", REG_SZ, {'3', 0, 0, 0});
  Store(u"OnSoundType", REG_BINARY, {2, 0, 0, 0});
  Store(u"OffSoundType", REG_DWORD, {});  // damaged: a REG_DWORD must hold four bytes
  SettingsKey settings;
  EXPECT_EQ(settings.TurnOffScr(), 1);
  EXPECT_EQ(settings.OnSoundType(), callchime::SignalType::Sound);
  EXPECT_EQ(settings.OffSoundType(), callchime::SignalType::Sound);
}

TEST_F(SettingsTest, WritesStoreSigned32BitDwords) {
  SettingsKey settings;
  ASSERT_TRUE(settings.SetRegularSoundType(-1));
  ASSERT_TRUE(settings.SetTurnOffScr(4));
  HKEY key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, callchime::kSettingsPath, 0, 0, &key), ERROR_SUCCESS);
  DWORD type = 0, value = 0, size = sizeof value;
  ASSERT_EQ(RegQueryValueExW(key, u"RegularSoundType", nullptr, &type,
                             reinterpret_cast<BYTE*>(&value), &size),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(value, 0xFFFFFFFFu);
  EXPECT_EQ(settings.RegularSoundType(), -1);
  EXPECT_EQ(settings.TurnOffScr(), 4);
}

}  // namespace
