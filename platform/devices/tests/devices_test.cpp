#include "platform/devices.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/event_log.h"
#include "test_support/device_home.h"

namespace {

std::vector<std::string> LoggedChanges() {
  std::vector<std::string> changes;
  for (const auto& event : platform::ReadDeviceEvents()) {
    changes.push_back(event.device + " " + event.what);
  }
  return changes;
}

class DevicesTest : public ::testing::Test {
 protected:
  test_support::ScopedDeviceHome home_;
};

TEST_F(DevicesTest, TheVibratorFollowsItsLedSettings) {
  NLED_COUNT_INFO count{};
  ASSERT_TRUE(NLedGetDeviceInfo(NLED_COUNT_INFO_ID, &count));
  EXPECT_EQ(count.cLeds, 2u);
  NLED_SETTINGS_INFO settings{};
  settings.LedNum = 1;
  ASSERT_TRUE(NLedGetDeviceInfo(NLED_SETTINGS_INFO_ID, &settings));
  EXPECT_EQ(settings.OffOnBlink, 0);
  settings.OffOnBlink = 1;
  ASSERT_TRUE(NLedSetDevice(NLED_SETTINGS_INFO_ID, &settings));
  NLED_SETTINGS_INFO readBack{};
  readBack.LedNum = 1;
  NLedGetDeviceInfo(NLED_SETTINGS_INFO_ID, &readBack);
  EXPECT_EQ(readBack.OffOnBlink, 1);
  EXPECT_TRUE(platform::LedIsOn(1));
  settings.OffOnBlink = 0;
  NLedSetDevice(NLED_SETTINGS_INFO_ID, &settings);
  EXPECT_FALSE(platform::LedIsOn(1));
  EXPECT_EQ(LoggedChanges(), (std::vector<std::string>{"vibrator on", "vibrator off"}));
  EXPECT_EQ(platform::DescribeLedState(1), "vibrator off");
}

TEST_F(DevicesTest, BadLedRequestsAreRefused) {
  NLED_SETTINGS_INFO settings{};
  settings.LedNum = 2;
  EXPECT_FALSE(NLedSetDevice(NLED_SETTINGS_INFO_ID, &settings));
  settings.LedNum = 1;
  settings.OffOnBlink = 3;
  EXPECT_FALSE(NLedSetDevice(NLED_SETTINGS_INFO_ID, &settings));
  EXPECT_FALSE(NLedSetDevice(NLED_COUNT_INFO_ID, &settings));
  EXPECT_TRUE(LoggedChanges().empty());
}

TEST_F(DevicesTest, ForcedBacklightStatesHoldUntilReleased) {
  WCHAR backlight[] = u"BKL1:";
  struct Step {
    DWORD flags;
    CEDEVICE_POWER_STATE state;
    const char* after;
    int level;
  };
  const Step steps[] = {
      {POWER_NAME | POWER_FORCE, D4, "BKL1: D4 forced", 4},
      {POWER_NAME, D0, "BKL1: D4 forced", 4},  // a request without force does not win
      {POWER_NAME | POWER_FORCE, D0, "BKL1: D0 forced", 0},
      {POWER_NAME | POWER_FORCE, PwrDeviceUnspecified, "BKL1: D0 system", 0},
      {POWER_NAME, D2, "BKL1: D2 system", 2},
  };
  for (const auto& step : steps) {
    EXPECT_EQ(SetDevicePower(backlight, step.flags, step.state), ERROR_SUCCESS);
    EXPECT_EQ(platform::DescribeBacklightState(), step.after);
    EXPECT_EQ(platform::BacklightLevel(), step.level);
  }
  WCHAR other[] = u"BKL2:";
  EXPECT_EQ(SetDevicePower(other, POWER_NAME | POWER_FORCE, D4), ERROR_FILE_NOT_FOUND);
}

TEST_F(DevicesTest, TheEventLogSkipsDamagedLines) {
  platform::AppendDeviceEvent("vibrator", "on");
  std::ofstream(home_.Path() / "events.log", std::ios::app) << "garbage\n\n12 x\n";
  platform::AppendDeviceEvent("vibrator", "off");
  EXPECT_EQ(LoggedChanges(), (std::vector<std::string>{"vibrator on", "vibrator off"}));
}

}  // namespace
