#include "signal_output.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/devices.h"
#include "platform/event_log.h"
#include "platform/kernel.h"
#include "test_support/device_home.h"

namespace {

// Resources of this test program (see CMakeLists.txt).
constexpr unsigned kTick = 100;
constexpr unsigned kChime = 101;
constexpr unsigned kDamaged = 102;
constexpr unsigned kMissing = 103;

using platform::WaveOutEventKind;

class SignalOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("VDEVICE_AUDIO_CAPTURE", (home_.Path() / "capture").c_str(), 1);
    setenv("VDEVICE_CLOCK_SCALE", "20", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::filesystem::create_directories(home_.Path() / "capture");
    platform::ClearWaveOutJournal();
  }

  static std::vector<std::string> Journal() {
    std::vector<std::string> entries;
    for (const auto& event : platform::WaveOutJournal()) {
      switch (event.kind) {
        case WaveOutEventKind::Opened: entries.push_back("open"); break;
        case WaveOutEventKind::Message:
          entries.push_back("message " + std::to_string(event.message) + " " +
                            std::to_string(event.param1) + " " + std::to_string(event.param2));
          break;
        case WaveOutEventKind::Volume:
          entries.push_back("volume " + std::to_string(event.volume));
          break;
        case WaveOutEventKind::Played:
          entries.push_back("played " + std::to_string(event.bytes));
          break;
        case WaveOutEventKind::Reset: entries.push_back("reset"); break;
        case WaveOutEventKind::Closed: entries.push_back("close"); break;
      }
    }
    return entries;
  }

  test_support::ScopedDeviceHome home_;
};

TEST_F(SignalOutputTest, ElapsedSignalSelectsGainClassAndFullVolumeWithoutSpeaker) {
  callchime::PlaySignalWave(GetModuleHandleW(nullptr), kTick, false, false);
  EXPECT_EQ(Journal(), (std::vector<std::string>{"open", "message 1024 2 0", "volume 65535",
                                                 "played 6904", "close"}));
}

TEST_F(SignalOutputTest, TalkSignalForcesTheSpeakerAndKeepsTheVolume) {
  callchime::PlaySignalWave(GetModuleHandleW(nullptr), kChime, true, true);
  EXPECT_EQ(Journal(), (std::vector<std::string>{"open", "message 1024 2 0", "message 1026 1 0",
                                                 "played 17444", "close"}));
}

TEST_F(SignalOutputTest, DamagedOrMissingSoundsPlayNothing) {
  callchime::PlaySignalWave(GetModuleHandleW(nullptr), kDamaged, false, true);
  callchime::PlaySignalWave(GetModuleHandleW(nullptr), kMissing, false, true);
  EXPECT_TRUE(Journal().empty());
}

TEST_F(SignalOutputTest, VibrationIsOnePulseOfAtLeast400Ms) {
  callchime::VibratePulse();
  auto events = platform::ReadDeviceEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].device + " " + events[0].what, "vibrator on");
  EXPECT_EQ(events[1].device + " " + events[1].what, "vibrator off");
  EXPECT_GE(events[1].timeMs - events[0].timeMs, 400u);
}

TEST_F(SignalOutputTest, ScreenRestoreLeavesTheBacklightToTheSystem) {
  callchime::ScreenOff();
  EXPECT_EQ(platform::DescribeBacklightState(), "BKL1: D4 forced");
  callchime::ScreenRestore();
  std::vector<std::string> changes;
  for (const auto& event : platform::ReadDeviceEvents()) changes.push_back(event.what);
  EXPECT_EQ(changes, (std::vector<std::string>{"D4 forced", "D0 forced", "D0 system"}));
}

}  // namespace
