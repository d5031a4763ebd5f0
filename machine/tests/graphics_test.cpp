#include "machine/graphics.h"

#include <gtest/gtest.h>

#include <vector>

#include "machine/alloc.h"

namespace machine {
namespace {

TEST(GraphicsTest, PaletteFromPromBytes) {
  uint8_t prom[32] = {};
  prom[1] = 0xFF;
  prom[4] = 0xFF;
  prom[2] = 0x47;  // red level 7, green level 0, blue level 2 x 1
  BuildPalette(prom);
  EXPECT_EQ(Palette[17].red, 0xFF);
  EXPECT_EQ(Palette[17].green, 0xFF);
  EXPECT_EQ(Palette[17].blue, 0xDE);
  EXPECT_EQ(Palette[20].red | Palette[20].green | Palette[20].blue, 0);
  EXPECT_EQ(Palette[18].red, 0xFF);
  EXPECT_EQ(Palette[18].green, 0x00);
  EXPECT_EQ(Palette[18].blue, 0x47);
  EXPECT_EQ(ColourLookup[17], (0xFF >> 3) << 11 | (0xFF >> 2) << 5 | (0xDE >> 3));
  EXPECT_EQ(ColourLookup[20], 0);
}

TEST(GraphicsTest, DecodesBothLayoutsFromTheTwoPlanes) {
  auto* buffer = static_cast<uint8_t*>(AllocZeroed(kGraphicsBufferBytes));
  buffer[0x807] = 0x80;  // character 0 pixel (0, 0), bit 0
  buffer[0x007] = 0x80;  //   and bit 1
  buffer[0x001] = 0x01;  // character 0 pixel (6, 7): bit 1 only
  // Sprite 1 starts at byte 32 of each plane; its pixel (8, 8) is bit 71 + 56 = 127, byte 15 bit 7.
  buffer[0x800 + 32 + 15] = 0x80;
  DecodeGraphics(buffer);
  EXPECT_EQ(buffer[kDecodedCharacters + 0], 3);
  EXPECT_EQ(buffer[kDecodedCharacters + 7 * 8 + 6], 2);
  EXPECT_EQ(buffer[kDecodedCharacters + 1], 0);
  const uint8_t* sprite1 = buffer + kDecodedSprites + 256;
  EXPECT_EQ(sprite1[8 * 16 + 8], 1);
  EXPECT_EQ(sprite1[8 * 16 + 7], 0);
  FreeBlock(buffer);
}

}  // namespace
}  // namespace machine
