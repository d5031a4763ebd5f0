#include "riff_wave.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "capture_folder.h"
#include "play_wave.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes U32(uint32_t value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

Bytes Chunk(const std::string& id, const Bytes& body, uint32_t sizeField) {
  Bytes chunk(id.begin(), id.end());
  Bytes size = U32(sizeField);
  chunk.insert(chunk.end(), size.begin(), size.end());
  chunk.insert(chunk.end(), body.begin(), body.end());
  if (body.size() % 2) chunk.push_back(0);
  return chunk;
}

Bytes Chunk(const std::string& id, const Bytes& body) {
  return Chunk(id, body, static_cast<uint32_t>(body.size()));
}

// fmt chunk body: PCM, mono, 8000 Hz, 8000 bytes/s, block 1, 8 bits.
const Bytes kFormat = {1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8, 0};
const Bytes kSamples = {0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0};

Bytes Riff(const std::vector<Bytes>& chunks, const std::string& form = "WAVE") {
  Bytes body(form.begin(), form.end());
  for (const Bytes& chunk : chunks) body.insert(body.end(), chunk.begin(), chunk.end());
  return Chunk("RIFF", body);
}

struct ParseCase {
  const char* label;
  Bytes image;
  bool parses;
};

TEST(ParseWaveImage, FindsFormatAndDataOrRejectsTheImage) {
  Bytes truncated = Riff({Chunk("fmt ", kFormat), Chunk("data", kSamples)});
  truncated.resize(truncated.size() - 1);
  const ParseCase cases[] = {
      {"fmt then data", Riff({Chunk("fmt ", kFormat), Chunk("data", kSamples)}), true},
      {"data before fmt", Riff({Chunk("data", kSamples), Chunk("fmt ", kFormat)}), true},
      {"LIST of odd size, then its pad byte",
       Riff({Chunk("fmt ", kFormat), Chunk("LIST", {'I', 'N', 'F', 'O', 'x'}),
             Chunk("data", kSamples)}),
       true},
      {"longer fmt chunk (extension bytes)",
       Riff({Chunk("fmt ",
                   [] {
                     Bytes longer = kFormat;
                     longer.insert(longer.end(), {0, 0});
                     return longer;
                   }()),
             Chunk("data", kSamples)}),
       true},
      {"not RIFF",
       [] {
         Bytes image = Riff({Chunk("fmt ", kFormat), Chunk("data", kSamples)});
         image[0] = 'X';
         return image;
       }(),
       false},
      {"form not WAVE", Riff({Chunk("fmt ", kFormat), Chunk("data", kSamples)}, "AVI "), false},
      {"no fmt", Riff({Chunk("data", kSamples)}), false},
      {"no data", Riff({Chunk("fmt ", kFormat)}), false},
      {"fmt too short",
       Riff({Chunk("fmt ", Bytes(kFormat.begin(), kFormat.begin() + 14)), Chunk("data", kSamples)}),
       false},
      {"data runs past the end", truncated, false},
      {"chunk size near 4 GiB before data",
       Riff({Chunk("fmt ", kFormat), Chunk("LIST", {1, 2}, 0xFFFFFFFF), Chunk("data", kSamples)}),
       false},
      {"only the RIFF header", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}, false},
      {"empty", Bytes{}, false},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.label);
    std::optional<platform::WaveImage> parsed = platform::ParseWaveImage(c.image);
    ASSERT_EQ(parsed.has_value(), c.parses);
    if (!parsed) continue;
    EXPECT_EQ(parsed->format.nSamplesPerSec, 8000u);
    EXPECT_EQ(parsed->format.wBitsPerSample, 8);
    EXPECT_EQ(Bytes(parsed->data, parsed->data + parsed->dataBytes), kSamples);
  }
}

using PlayWaveImageTest = CaptureFolderTest;

// Mutated images, each in a buffer of exactly its own size so that the address sanitizer sees any
// read past the end: nothing crashes, nothing is printed, a rejected image makes no sound and a
// played one plays only bytes inside the image.
TEST_F(PlayWaveImageTest, DamagedImagesNeverCrashOrShowAnError) {
  const Bytes originals[] = {
      Riff({Chunk("fmt ", kFormat), Chunk("data", kSamples)}),
      Riff({Chunk("data", kSamples), Chunk("LIST", {'a', 'b', 'c'}), Chunk("fmt ", kFormat)}),
  };
  std::mt19937 random(20261211);
  testing::internal::CaptureStderr();
  size_t played = 0;
  for (int round = 0; round < 1500; ++round) {
    Bytes image = originals[round % 2];
    int damage = static_cast<int>(random() % 3);
    if (damage == 0) {
      for (int flips = 1 + static_cast<int>(random() % 4); flips > 0; --flips) {
        image[random() % image.size()] = static_cast<uint8_t>(random());
      }
    } else if (damage == 1) {
      image.resize(random() % image.size());
    } else {
      size_t at = random() % (image.size() - 3);
      Bytes size = U32(random() % 2 ? 0xFFFFFFFF - random() % 16 : random() % 128);
      std::copy(size.begin(), size.end(), image.begin() + static_cast<long>(at));
    }
    Bytes exact(image);  // exactly sized copy
    size_t filesBefore = CaptureFiles().size();
    std::optional<platform::WaveImage> parsed = platform::ParseWaveImage(exact);
    bool result = platform::PlayWaveImage(exact);
    if (parsed) {
      EXPECT_GE(parsed->data, exact.data());
      EXPECT_LE(parsed->data + parsed->dataBytes, exact.data() + exact.size());
    } else {
      EXPECT_FALSE(result);
      EXPECT_EQ(CaptureFiles().size(), filesBefore) << "a rejected image made a sound";
    }
    played += result;
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  // The loop must have exercised both outcomes.
  EXPECT_GT(played, 0u);
  EXPECT_LT(played, 1500u);
}

}  // namespace
