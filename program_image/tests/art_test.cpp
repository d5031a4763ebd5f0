#include "art.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

std::string Rows(int count, const std::string& row) {
  std::string text;
  for (int i = 0; i < count; ++i) text += row + "\n";
  return text;
}

TEST(ArtLayout, CharacterPixelBitsLandInBothPlanes) {
  std::array<uint8_t, art::kGraphicsBytes> gfx{};
  art::PutCharPixel(gfx, 0, 0, 0, 3);
  // Pixel bit 0 comes from the second plane, bit 1 from the first; the top left pixel is bit 7
  // of the character's last byte (its leftmost column).
  EXPECT_EQ(gfx[0x807], 0x80);
  EXPECT_EQ(gfx[0x007], 0x80);
  art::PutCharPixel(gfx, 0, 0, 0, 1);
  EXPECT_EQ(gfx[0x807], 0x80);
  EXPECT_EQ(gfx[0x007], 0x00);
}

TEST(ArtLayout, SpriteQuadrantsFollowTheBoardsBitOffsets) {
  struct Case {
    int x, y, byte, bit;
  };
  // Sprite 1 starts at byte 32 of each plane; quadrants are characters 4k+2, 4k+3, 4k, 4k+1.
  const Case cases[] = {
      {0, 0, 32 + 23, 7}, {7, 0, 32 + 16, 7}, {0, 8, 32 + 31, 7},
      {8, 0, 32 + 7, 7},  {8, 8, 32 + 15, 7}, {15, 15, 32 + 8, 0},
  };
  for (const Case& c : cases) {
    std::array<uint8_t, art::kGraphicsBytes> gfx{};
    art::PutSpritePixel(gfx, 1, c.x, c.y, 1);
    EXPECT_EQ(gfx[art::kPlaneBytes + c.byte], 1 << c.bit) << "pixel " << c.x << "," << c.y;
  }
}

TEST(ArtParse, TilesAndSpritesThatShareCharactersAreRefused) {
  std::string text = "tile 0x80 CLASH\n" + Rows(8, "........") + "sprite 0x20 SHIP\n" +
                     Rows(16, "................");
  auto elements = art::ParseArt(text, "clash.txt");
  try {
    art::BuildGraphics(elements);
    FAIL() << "collision not reported";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("already taken by 'CLASH'"), std::string::npos)
        << e.what();
  }
}

TEST(ArtParse, BadSourcesNameTheLine) {
  struct Case {
    std::string text;
    std::string message;
  };
  const Case cases[] = {
      {"text 0x05 A\n" + Rows(8, "........"), "text glyph 'A' must have code 17"},
      {"text 0x11 DASH\n" + Rows(8, "........"), "takes a digit or letter code"},
      {"tile 0x30 WIDE\n" + Rows(8, "........."), "row must be 8 pixels wide"},
      {"tile 0x30 BAD\n" + Rows(7, "........") + "...x....\n", "bad pixel 'x'"},
      {"tile 0x30 SHORT\n" + Rows(3, "........"), "ends early"},
      {"sprite 0x40 BIG\n", "code out of range"},
      {"blob 0x30 WHAT\n", "unknown section"},
  };
  for (const Case& c : cases) {
    try {
      art::ParseArt(c.text, "bad.txt");
      ADD_FAILURE() << "accepted: " << c.message;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
      EXPECT_EQ(std::string(e.what()).rfind("bad.txt:", 0), 0u) << e.what();
    }
  }
}

TEST(ArtProm, LevelsPackIntoTheBoardsBitLayout) {
  std::string text;
  for (int set = 0; set < 8; ++set) {
    text += "set " + std::to_string(set) + ": 0,0,0 7,0,0 0,7,0 0,0,3\n";
  }
  auto prom = art::BuildProm(text, "palette.txt");
  EXPECT_EQ(prom[1], 0x07);  // red in bits 0-2
  EXPECT_EQ(prom[2], 0x38);  // green in bits 3-5
  EXPECT_EQ(prom[3], 0xC0);  // blue in bits 6-7
  EXPECT_EQ(prom[31], 0xC0);
}

TEST(ArtProm, MissingOrOutOfRangeSetsAreRefused) {
  EXPECT_THROW(art::BuildProm("set 0: 0,0,0 1,1,1 2,2,2 3,3,3\n", "p.txt"), std::runtime_error);
  std::string text;
  for (int set = 0; set < 8; ++set) {
    text += "set " + std::to_string(set) + ": 0,0,0 1,1,1 2,2,2 " + (set == 5 ? "3,3,4" : "3,3,3") +
            "\n";
  }
  EXPECT_THROW(art::BuildProm(text, "p.txt"), std::runtime_error);
}

}  // namespace
