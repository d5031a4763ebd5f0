#include "wave_image.h"

#include <gtest/gtest.h>

#include <random>

#include "wave_builder.h"

namespace {

using callchime::ParseWaveImage;
using callchime::WaveImage;
using callchime::testing::WaveBuilder;

TEST(WaveImage, ChunkLayoutsThatPlay) {
  struct Case {
    const char* what;
    std::vector<uint8_t> image;
    uint32_t dataSize;
  };
  const Case cases[] = {
      {"fmt then data", WaveBuilder().Format().Data(100).Build(), 100},
      {"data before fmt", WaveBuilder().Data(64).Format().Build(), 64},
      {"LIST between", WaveBuilder().Format().Chunk("LIST", {1, 2, 3, 4}).Data(8).Build(), 8},
      {"odd chunk and its pad byte",
       WaveBuilder().Format().Chunk("junk", {9, 9, 9}).Data(6).Build(), 6},
      {"the later data chunk wins", WaveBuilder().Format().Data(10).Data(20).Build(), 20},
  };
  for (const auto& c : cases) {
    WaveImage parsed{};
    ASSERT_TRUE(ParseWaveImage(c.image.data(), c.image.size(), parsed)) << c.what;
    EXPECT_EQ(parsed.dataSize, c.dataSize) << c.what;
    EXPECT_EQ(parsed.format.samplesPerSec, 11025u) << c.what;
    EXPECT_EQ(parsed.format.bitsPerSample, 16u) << c.what;
    EXPECT_EQ(parsed.data[0], 0x40) << c.what;
  }
}

TEST(WaveImage, ImagesThatDoNotPlay) {
  auto truncated = WaveBuilder().Format().Data(100).Build();
  truncated.resize(truncated.size() - 1);
  struct Case {
    const char* what;
    std::vector<uint8_t> image;
  };
  const Case cases[] = {
      {"no fmt", WaveBuilder().Data(10).Build()},
      {"no data", WaveBuilder().Format().Build()},
      {"not WAVE", WaveBuilder().Format().Data(10).Build("AVI ")},
      {"fmt shorter than its block", WaveBuilder().Chunk("fmt ", {1, 0, 1, 0}).Data(10).Build()},
      {"data longer than the image", truncated},
      {"too short for a header", {'R', 'I', 'F', 'F', 0, 0}},
  };
  for (const auto& c : cases) {
    WaveImage parsed{};
    EXPECT_FALSE(ParseWaveImage(c.image.data(), c.image.size(), parsed)) << c.what;
  }
}

// Damaged images never make the parser look outside them: mutated and cut copies of a valid
// image either fail or describe sample data that lies inside the image.
TEST(WaveImage, FuzzedImagesStayInsideTheirBytes) {
  const auto valid = WaveBuilder().Chunk("LIST", {1, 2, 3}).Format().Data(40).Build();
  std::mt19937 random(20240611);
  int parsedCount = 0;
  constexpr int kImages = 20000;
  for (int round = 0; round < kImages; ++round) {
    std::vector<uint8_t> image = valid;
    int mutations = 1 + static_cast<int>(random() % 8);
    for (int m = 0; m < mutations; ++m) {
      size_t at = random() % image.size();
      switch (random() % 3) {
        case 0: image[at] = static_cast<uint8_t>(random()); break;
        case 1: image[at] ^= static_cast<uint8_t>(1u << (random() % 8)); break;
        case 2: image.resize(at + 1); break;
      }
    }
    // A copy of exactly the image's size, so a read past it is caught by the sanitizers.
    std::vector<uint8_t> exact(image);
    WaveImage parsed{};
    if (ParseWaveImage(exact.data(), exact.size(), parsed)) {
      ++parsedCount;
      ASSERT_GE(parsed.data, exact.data());
      ASSERT_LE(parsed.data + parsed.dataSize, exact.data() + exact.size()) << "round " << round;
    }
  }
  std::printf("%d of %d fuzzed images still parsed\n", parsedCount, kImages);
}

}  // namespace
