// The real Callchime process on a fresh simulated device, driven through the device's line
// provider and registry, judged by what the device did and when (device time).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "callchime/messages.h"
#include "callchime/settings.h"
#include "platform/line_provider.h"
#include "platform/process.h"
#include "platform/telephony.h"
#include "service_harness.h"

namespace {

using callchime::SettingsKey;
using callchime::testing::kReactionMs;
using callchime::testing::kToleranceMs;
using callchime::testing::Observed;
using callchime::testing::ServiceDevice;
using platform::telephony::ConnectCall;
using platform::telephony::DisconnectCall;
using Names = std::vector<std::string>;

constexpr uint32_t kVoice = LINEMEDIAMODE_INTERACTIVEVOICE;
constexpr uint32_t kData = LINEMEDIAMODE_DATAMODEM;

#define EXPECT_AT(signal, plannedMs)                                                               \
  EXPECT_NEAR(static_cast<double>((signal).startMs), static_cast<double>(plannedMs), kToleranceMs) \
      << (signal).what << " planned at device time " << (plannedMs)

// A signal that answers a call event sent at eventMs.
#define EXPECT_SOON_AFTER(signal, eventMs)                                                     \
  do {                                                                                         \
    EXPECT_GE((signal).startMs, (eventMs)) << (signal).what;                                   \
    EXPECT_LE((signal).startMs, (eventMs) + kReactionMs) << (signal).what << " answers "       \
                                                         << "the call event at " << (eventMs); \
  } while (false)

// Everything from the talk start on: the service's own start sound is left out.
std::vector<Observed> AfterStartSound(std::vector<Observed> signals) {
  if (!signals.empty() && signals.front().what == "service sound") signals.erase(signals.begin());
  return signals;
}

Names NamesOf(const std::vector<Observed>& signals) {
  Names names;
  for (const auto& signal : signals) names.push_back(signal.what);
  return names;
}

class ServiceEndToEnd : public ::testing::Test {
 protected:
  ServiceDevice device_;
};

TEST_F(ServiceEndToEnd, StartsOnceAnnouncedAndOnlyItsOwnQuitMessageEndsIt) {
  pid_t service = device_.StartAndWaitUntilReady();
  ASSERT_GT(service, 0);
  EXPECT_EQ(device_.WhatOf(service), Names{"service sound"});
  auto listed = platform::ListDeviceProcesses();
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].exeName, u"Callchime.exe");

  pid_t second = device_.Start();
  EXPECT_EQ(device_.WaitForExit(second, 60000), 0);
  EXPECT_TRUE(device_.WhatOf(second).empty());

  device_.PostToProcess(service, WM_QUIT);
  device_.SleepFor(3000);
  EXPECT_TRUE(device_.IsRunning(service));

  device_.PostToProcess(service, callchime::WM_SERVICE_QUIT);
  EXPECT_EQ(device_.WaitForExit(service, 60000), 0);
  EXPECT_EQ(device_.WhatOf(service), (Names{"service sound", "service sound"}));
  EXPECT_TRUE(platform::ListDeviceProcesses().empty());
}

TEST_F(ServiceEndToEnd, DefaultTalkOfTwoMinutesTenSeconds) {
  pid_t service = device_.StartAndWaitUntilReady();
  ASSERT_GT(service, 0);
  uint64_t connectedAt = device_.NowMs();
  auto call = ConnectCall(0, kVoice);
  ASSERT_TRUE(call);
  ASSERT_TRUE(device_.WaitForSignals(service, 2));
  uint64_t talkStart = device_.SignalsOf(service)[1].endMs;  // after the start signal
  device_.SleepUntil(talkStart + 130000);
  uint64_t disconnectedAt = device_.NowMs();
  DisconnectCall(0, call->id);
  ASSERT_TRUE(device_.WaitForSignals(service, 8));
  device_.SleepFor(3000);

  auto signals = AfterStartSound(device_.SignalsOf(service));
  ASSERT_EQ(NamesOf(signals), (Names{"talk chime", "screen off", "tick", "tick", "screen on",
                                     "screen released", "talk chime"}));
  EXPECT_SOON_AFTER(signals[0], connectedAt);
  EXPECT_AT(signals[1], talkStart + 5000);
  EXPECT_AT(signals[2], talkStart + 55000);
  EXPECT_AT(signals[3], talkStart + 115000);
  EXPECT_SOON_AFTER(signals[4], disconnectedAt);
  EXPECT_LE(signals[5].startMs, signals[6].startMs);
}

TEST_F(ServiceEndToEnd, ShortIntervalWithLongSignalBeforeAndTheScreenLeftOn) {
  SettingsKey settings;
  settings.SetRegularSoundDelay(0);   // 30 s
  settings.SetRegularSoundBefore(9);  // 20 s
  settings.SetTurnOffScr(0);          // never
  pid_t service = device_.StartAndWaitUntilReady();
  ASSERT_GT(service, 0);
  auto call = ConnectCall(0, kVoice);
  ASSERT_TRUE(device_.WaitForSignals(service, 2));
  uint64_t talkStart = device_.SignalsOf(service)[1].endMs;
  device_.SleepUntil(talkStart + 75000);
  uint64_t disconnectedAt = device_.NowMs();
  DisconnectCall(0, call->id);
  ASSERT_TRUE(device_.WaitForSignals(service, 6));
  device_.SleepFor(3000);

  auto signals = AfterStartSound(device_.SignalsOf(service));
  ASSERT_EQ(NamesOf(signals), (Names{"talk chime", "tick", "tick", "tick", "talk chime"}));
  EXPECT_AT(signals[1], talkStart + 10000);
  EXPECT_AT(signals[2], talkStart + 40000);
  EXPECT_AT(signals[3], talkStart + 70000);
  EXPECT_SOON_AFTER(signals[4], disconnectedAt);
}

TEST_F(ServiceEndToEnd, SignalTypesAreReadAtEachEvent) {
  SettingsKey settings;
  settings.SetOnSoundType(callchime::SignalType::Vibrate);
  settings.SetOffSoundType(callchime::SignalType::None);
  settings.SetRegularSoundDelay(0);   // 30 s
  settings.SetRegularSoundBefore(0);  // exactly at each full interval
  settings.SetTurnOffScr(0);
  pid_t service = device_.StartAndWaitUntilReady();
  ASSERT_GT(service, 0);
  auto call = ConnectCall(0, kVoice);
  ASSERT_TRUE(device_.WaitForSignals(service, 3));  // the start pulse and the first tick
  uint64_t talkStart = device_.SignalsOf(service)[1].endMs;
  settings.SetRegularSoundType(callchime::SignalType::Vibrate);
  device_.SleepUntil(talkStart + 65000);
  DisconnectCall(0, call->id);
  device_.SleepFor(3000);

  auto signals = AfterStartSound(device_.SignalsOf(service));
  ASSERT_EQ(NamesOf(signals), (Names{"vibration", "tick", "vibration"}));
  EXPECT_GE(signals[0].endMs - signals[0].startMs, 400u);
  EXPECT_AT(signals[1], talkStart + 30000);
  EXPECT_AT(signals[2], talkStart + 60000);
}

TEST_F(ServiceEndToEnd, NoElapsedTimerWhenItsTypeWasNoneAtTalkStart) {
  SettingsKey settings;
  settings.SetOnSoundType(callchime::SignalType::None);
  settings.SetRegularSoundType(callchime::SignalType::None);
  settings.SetRegularSoundDelay(0);
  pid_t service = device_.StartAndWaitUntilReady();
  ASSERT_GT(service, 0);
  uint64_t connectedAt = device_.NowMs();
  auto call = ConnectCall(0, kVoice);
  device_.SleepFor(1000);
  settings.SetRegularSoundType(callchime::SignalType::Sound);  // too late for this talk
  device_.SleepUntil(connectedAt + 70000);
  DisconnectCall(0, call->id);
  ASSERT_TRUE(device_.WaitForSignals(service, 5));
  device_.SleepFor(3000);

  auto signals = AfterStartSound(device_.SignalsOf(service));
  ASSERT_EQ(NamesOf(signals), (Names{"screen off", "screen on", "screen released", "talk chime"}));
  EXPECT_SOON_AFTER(signals[0],
                    connectedAt + 5000);  // the screen timer runs without a start signal
}

TEST_F(ServiceEndToEnd, DataCallsAndASecondVoiceCallStartNoTalk) {
  SettingsKey settings;
  settings.SetRegularSoundType(callchime::SignalType::None);
  settings.SetTurnOffScr(0);
  pid_t service = device_.StartAndWaitUntilReady();
  ASSERT_GT(service, 0);
  auto data = ConnectCall(0, kData);
  device_.SleepFor(3000);
  DisconnectCall(0, data->id);
  device_.SleepFor(3000);
  EXPECT_EQ(device_.WhatOf(service), Names{"service sound"});

  auto first = ConnectCall(0, kVoice);
  ASSERT_TRUE(device_.WaitForSignals(service, 2));
  auto second = ConnectCall(0, kVoice);
  device_.SleepFor(3000);
  EXPECT_EQ(device_.WhatOf(service), (Names{"service sound", "talk chime"}));
  DisconnectCall(0, first->id);
  ASSERT_TRUE(device_.WaitForSignals(service, 3));
  DisconnectCall(0, second->id);
  device_.SleepFor(3000);
  EXPECT_EQ(device_.WhatOf(service), (Names{"service sound", "talk chime", "talk chime"}));
}

TEST_F(ServiceEndToEnd, EnterOnTheTalkWindowBringsTheScreenBackAndRearmsIt) {
  SettingsKey settings;
  settings.SetRegularSoundType(callchime::SignalType::None);
  pid_t service = device_.StartAndWaitUntilReady();
  ASSERT_GT(service, 0);
  auto call = ConnectCall(0, kVoice);
  ASSERT_TRUE(device_.WaitForSignals(service, 3));  // screen off
  ASSERT_EQ(device_.RunDeviceControl({"key", "CallchimeWndClass", "enter"}), 0);
  ASSERT_TRUE(device_.WaitForSignals(service, 6));
  DisconnectCall(0, call->id);
  ASSERT_TRUE(device_.WaitForSignals(service, 9));

  auto signals = AfterStartSound(device_.SignalsOf(service));
  ASSERT_EQ(NamesOf(signals), (Names{"talk chime", "screen off", "screen on", "screen released",
                                     "screen off", "screen on", "screen released", "talk chime"}));
  EXPECT_AT(signals[4], signals[3].startMs + 5000);
}

TEST_F(ServiceEndToEnd, ServiceQuitDuringATalkEndsTheTalkAfterTheStopSound) {
  pid_t service = device_.StartAndWaitUntilReady();
  ASSERT_GT(service, 0);
  ConnectCall(0, kVoice);
  ASSERT_TRUE(device_.WaitForSignals(service, 3));  // screen off
  ASSERT_EQ(device_.RunDeviceControl({"post", "Callchime.exe", "0x403"}), 0);
  EXPECT_EQ(device_.WaitForExit(service, 60000), 0);
  EXPECT_EQ(device_.WhatOf(service),
            (Names{"service sound", "talk chime", "screen off", "service sound", "screen on",
                   "screen released", "talk chime"}));
}

TEST_F(ServiceEndToEnd, OfTwoLinesNamedCellularLineTheLastIsWatched) {
  device_.SetLines("Cellular Line\nCellular Line\n");
  pid_t service = device_.StartAndWaitUntilReady();
  ASSERT_GT(service, 0);
  ConnectCall(0, kVoice);
  device_.SleepFor(3000);
  EXPECT_EQ(device_.WhatOf(service), Names{"service sound"});
  ConnectCall(1, kVoice);
  ASSERT_TRUE(device_.WaitForSignals(service, 2));
  EXPECT_EQ(device_.WhatOf(service), (Names{"service sound", "talk chime"}));
}

struct LineProfile {
  const char* name;
  const char* lines;
};

void PrintTo(const LineProfile& profile, std::ostream* out) {
  *out << profile.name;
}

class ServiceWithoutCellularLine : public ::testing::TestWithParam<LineProfile> {
 protected:
  ServiceDevice device_;
};

TEST_P(ServiceWithoutCellularLine, RunsOnSilentlyUntilTold) {
  device_.SetLines(GetParam().lines);
  pid_t service = device_.Start();
  ASSERT_TRUE(device_.WaitForSignals(service, 1));
  device_.SleepFor(2000);
  if (ConnectCall(0, kVoice)) device_.SleepFor(3000);
  EXPECT_TRUE(device_.IsRunning(service));
  EXPECT_EQ(device_.WhatOf(service), Names{"service sound"});
  device_.PostToProcess(service, callchime::WM_SERVICE_QUIT);
  EXPECT_EQ(device_.WaitForExit(service, 60000), 0);
  EXPECT_EQ(device_.WhatOf(service), (Names{"service sound", "service sound"}));
}

INSTANTIATE_TEST_SUITE_P(Profiles, ServiceWithoutCellularLine,
                         ::testing::Values(LineProfile{"OtherLineOnly", "Modem\n"},
                                           LineProfile{"NoLines", ""},
                                           LineProfile{"NameInOtherCase", "cellular line\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Reliability: 1,000 connects and disconnects in quick succession are all handled, in order,
// and leave nothing behind. Every setting is read when the service handles an event, so the
// burst's talks give no signal at all; a call held after the burst gets its first elapsed-time
// signal only once everything before it was handled.
TEST_F(ServiceEndToEnd, AThousandCallEventsInQuickSuccession) {
  SettingsKey settings;
  settings.SetOnSoundType(callchime::SignalType::None);
  settings.SetOffSoundType(callchime::SignalType::None);
  settings.SetTurnOffScr(0);
  settings.SetRegularSoundDelay(0);
  settings.SetRegularSoundBefore(0);
  pid_t service = device_.StartAndWaitUntilReady();
  ASSERT_GT(service, 0);

  uint64_t burstStart = device_.NowMs();
  for (int i = 0; i < 500; ++i) {
    auto call = ConnectCall(0, kVoice);
    ASSERT_TRUE(call);
    ASSERT_TRUE(DisconnectCall(0, call->id));
  }
  uint64_t burstEnd = device_.NowMs();
  auto held = ConnectCall(0, kVoice);
  ASSERT_TRUE(device_.WaitForSignals(service, 2, 1200000));
  uint64_t firstTick = device_.SignalsOf(service)[1].startMs;
  DisconnectCall(0, held->id);
  device_.SleepFor(70000);  // two elapsed-time intervals

  EXPECT_TRUE(device_.IsRunning(service));
  EXPECT_EQ(device_.WhatOf(service), (Names{"service sound", "tick"}));
  EXPECT_GE(firstTick, burstEnd + 30000);
  std::printf(
      "1000 call events sent in %.0f host ms; the held call's first tick came %.0f device "
      "ms after the burst (30000 planned)\n",
      (burstEnd - burstStart) / callchime::testing::kClockScale,
      static_cast<double>(firstTick - burstEnd));
}

}  // namespace
