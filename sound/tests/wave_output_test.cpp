#include "sound/wave_output.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace sound {
namespace {

TEST(WaveOutputTest, HeadersAreSubmittedInRingOrderEveryFourthFrame) {
  // The 4th, 8th, 12th, 16th and 20th advance submit headers 0, 1, 2, 3, 0.
  std::vector<int> submitted;
  int slot = 0;
  for (int advance = 1; advance <= 20; ++advance) {
    slot = (slot + 1) % kRingFrames;
    const int header = HeaderCompletedBy(slot);
    if (header >= 0) submitted.push_back(advance * 10 + header);
  }
  EXPECT_EQ(submitted, (std::vector<int>{40, 81, 122, 163, 200}));
}

TEST(WaveOutputTest, WithoutADeviceTheRingStillWorksSilently) {
  WaveOpen(22050, 16, 1);
  EXPECT_EQ(WaveDevice, nullptr);
  EXPECT_EQ(FrameBytes, 734u);
  ASSERT_NE(WaveRing, nullptr);
  for (int k = 0; k < kWaveHeaders; ++k) {
    EXPECT_EQ(WaveHeaders[k].lpData, reinterpret_cast<LPSTR>(WaveRing + 2936 * k));
    EXPECT_EQ(WaveHeaders[k].dwBufferLength, 2936u);
    EXPECT_EQ(WaveHeaders[k].dwUser, reinterpret_cast<DWORD_PTR>(&WaveHeaders[k]));
  }
  for (int i = 0; i < 5; ++i) WaveAdvance();
  EXPECT_EQ(RingSlot, 5);
  WaveClose();
  EXPECT_EQ(WaveRing, nullptr);
}

// With capture on, the device's stream is the initial silence, then the frames in the order
// they were mixed: headers went out 0, 1, 2, 3, 0 with the four frames just written.
TEST(WaveOutputTest, CapturedStreamHoldsTheFramesInSubmissionOrder) {
  const auto folder =
      std::filesystem::temp_directory_path() / ("wave_output_test_" + std::to_string(::getpid()));
  std::filesystem::remove_all(folder);
  setenv("VDEVICE_AUDIO_CAPTURE", folder.c_str(), 1);
  WaveOpen(22050, 16, 1);
  unsetenv("VDEVICE_AUDIO_CAPTURE");
  ASSERT_NE(WaveDevice, nullptr);
  constexpr int kFrames = 20;
  const int samples = static_cast<int>(FrameBytes / 2);
  // A header may be written again only once it has played; the device clock runs fast here.
  const auto waitUntilPlayed = [](const WAVEHDR& header) {
    for (int wait = 0; wait < 5000 && (header.dwFlags & WHDR_INQUEUE); ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  for (int frame = 0; frame < kFrames; ++frame) {
    waitUntilPlayed(WaveHeaders[RingSlot / kFramesPerHeader]);
    auto* slot = reinterpret_cast<int16_t*>(WaveRing + RingSlot * FrameBytes);
    for (int j = 0; j < samples; ++j) slot[j] = static_cast<int16_t>(frame + 1);
    WaveAdvance();
  }
  for (const WAVEHDR& header : WaveHeaders) waitUntilPlayed(header);
  WaveClose();

  std::vector<std::filesystem::path> files(std::filesystem::directory_iterator(folder), {});
  ASSERT_EQ(files.size(), 1u);
  std::ifstream in(files[0], std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
  std::filesystem::remove_all(folder);
  ASSERT_GT(bytes.size(), 44u);
  std::vector<int16_t> stream((bytes.size() - 44) / 2);
  std::memcpy(stream.data(), bytes.data() + 44, stream.size() * 2);
  ASSERT_EQ(stream.size(), static_cast<size_t>((kRingFrames + kFrames) * samples));
  for (int j = 0; j < kRingFrames * samples; ++j) ASSERT_EQ(stream[j], 0) << j;
  for (int f = 0; f < kFrames; ++f)
    for (int j = 0; j < samples; ++j)
      ASSERT_EQ(stream[(kRingFrames + f) * samples + j], static_cast<int16_t>(f + 1)) << f;
}

}  // namespace
}  // namespace sound
