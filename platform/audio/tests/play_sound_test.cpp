#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

#include "capture_folder.h"
#include "platform/audio.h"
#include "platform/resources.h"

namespace {

// The test executable's WAVE resources (see CMakeLists.txt): 8-bit mono 8000 Hz sounds with the
// same 40 samples 0x80, 0x81, ... in differently laid out images, and a damaged one.
constexpr unsigned kTone = 100;
constexpr unsigned kDataBeforeFormat = 101;
constexpr unsigned kListWithOddSize = 102;
constexpr unsigned kNoFormat = 103;
constexpr unsigned kMissing = 104;

std::vector<uint8_t> ToneSamples() {
  std::vector<uint8_t> samples;
  for (int i = 0; i < 40; ++i) samples.push_back(static_cast<uint8_t>(0x80 + i));
  return samples;
}

using PlaySoundTest = CaptureFolderTest;

TEST_F(PlaySoundTest, PlaysEveryLayoutOfAGoodImageToTheEnd) {
  for (unsigned resource : {kTone, kDataBeforeFormat, kListWithOddSize}) {
    SCOPED_TRACE(resource);
    std::filesystem::remove_all(folder_);
    platform::ClearWaveOutJournal();

    ASSERT_TRUE(PlaySoundW(MAKEINTRESOURCEW(resource), GetModuleHandleW(nullptr), SND_RESOURCE));

    // Returned only after playing: the whole sound was played and the device closed.
    std::vector<platform::WaveOutEvent> journal = platform::WaveOutJournal();
    ASSERT_EQ(journal.size(), 4u);
    EXPECT_EQ(journal[0].kind, platform::WaveOutEventKind::Opened);
    EXPECT_EQ(journal[0].format.nSamplesPerSec, 8000u);
    EXPECT_EQ(journal[1].kind, platform::WaveOutEventKind::Played);
    EXPECT_EQ(journal[1].bytes, 40u);
    EXPECT_EQ(journal[2].kind, platform::WaveOutEventKind::Reset);
    EXPECT_EQ(journal[3].kind, platform::WaveOutEventKind::Closed);
    std::vector<std::filesystem::path> files = CaptureFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(CapturedSamples(files[0]), ToneSamples());
  }
}

TEST_F(PlaySoundTest, DamagedOrMissingSoundGivesNoSoundAndNoMessage) {
  for (unsigned resource : {kNoFormat, kMissing}) {
    SCOPED_TRACE(resource);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(PlaySoundW(MAKEINTRESOURCEW(resource), nullptr, SND_RESOURCE));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(platform::WaveOutJournal().empty());
    EXPECT_TRUE(CaptureFiles().empty());
  }
}

bool IsBeginningOfTone(const std::vector<uint8_t>& samples) {
  std::vector<uint8_t> tone = ToneSamples();
  return samples.size() <= tone.size() && std::equal(samples.begin(), samples.end(), tone.begin());
}

TEST_F(PlaySoundTest, AsynchronousSoundIsStoppedByTheNextCall) {
  ASSERT_TRUE(PlaySoundW(MAKEINTRESOURCEW(kTone), nullptr, SND_RESOURCE | SND_ASYNC));
  ASSERT_TRUE(PlaySoundW(nullptr, nullptr, 0));
  // Stopped means the device is closed and its capture complete, however far it had got.
  EXPECT_EQ(platform::WaveOutJournal().back().kind, platform::WaveOutEventKind::Closed);
  std::vector<std::filesystem::path> files = CaptureFiles();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(IsBeginningOfTone(CapturedSamples(files[0])));

  ASSERT_TRUE(PlaySoundW(MAKEINTRESOURCEW(kTone), nullptr, SND_RESOURCE | SND_ASYNC));
  ASSERT_TRUE(PlaySoundW(MAKEINTRESOURCEW(kDataBeforeFormat), nullptr, SND_RESOURCE));
  files = CaptureFiles();
  ASSERT_EQ(files.size(), 3u);
  std::sort(files.begin(), files.end());
  EXPECT_TRUE(IsBeginningOfTone(CapturedSamples(files[1])));
  EXPECT_EQ(CapturedSamples(files[2]), ToneSamples());
}

TEST(PlaySoundWithoutDevice, FailsQuietly) {
  unsetenv("VDEVICE_AUDIO_CAPTURE");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(PlaySoundW(MAKEINTRESOURCEW(kTone), nullptr, SND_RESOURCE));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
