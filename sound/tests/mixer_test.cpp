#include "sound/mixer.h"

#include <gtest/gtest.h>

namespace sound {
namespace {

struct MixCase {
  uint8_t level;
  int16_t a, b;
  int16_t expected;
};

TEST(MixerTest, ShiftsSumsDividesByEightAndClamps) {
  const MixCase cases[] = {
      {50, 1000, 2000, 1500},     // "Med": (4000 + 8000) >> 3
      {99, 22950, 22950, 32767},  // "High" clips
      {99, -32768, -32768, -32768},
      {25, -41, 0, -6},   // arithmetic shift rounds toward minus infinity
      {25, 800, 8, 101},  // "Low": one eighth of the sum
      {0, 8, 8, 2},
  };
  for (const MixCase& c : cases) {
    SoundMixer mixer{};
    mixer.sourceCount = 2;
    mixer.outputChannels = 1;
    mixer.sources[0].level = mixer.sources[1].level = c.level;
    MixerInit(mixer, 3);
    for (int j = 0; j < 3; ++j) {
      mixer.sources[0].buffer[j] = c.a;
      mixer.sources[1].buffer[j] = c.b;
    }
    int16_t out[3] = {};
    MixerMix(mixer, 3, out);
    for (int16_t s : out) EXPECT_EQ(s, c.expected) << int{c.level} << " " << c.a << " " << c.b;
    MixerFree(mixer);
    EXPECT_EQ(mixer.sources[0].buffer, nullptr);
  }
}

TEST(MixerTest, ShiftComesFromTheLevelTable) {
  const std::pair<uint8_t, uint8_t> cases[] = {{0, 0},  {25, 0}, {30, 1},
                                               {50, 2}, {99, 3}, {200, 3}};
  for (auto [level, shift] : cases) {
    SoundMixer mixer{};
    mixer.sourceCount = 1;
    mixer.outputChannels = 1;
    mixer.sources[0].level = level;
    MixerInit(mixer, 1);
    EXPECT_EQ(mixer.sources[0].shift, shift) << int{level};
    EXPECT_EQ(mixer.sources[0].buffer[0], 0);
    MixerFree(mixer);
  }
}

}  // namespace
}  // namespace sound
