#include "machine/renderer.h"

#include <cstring>
#include <vector>

#include "board_fixture.h"
#include "machine/graphics.h"

namespace machine {
namespace {

constexpr uint8_t kUnwritten = 0xEE;

// Sprite 1's quadrants: top left 1, top right 2, bottom left 3, bottom right transparent.
std::vector<uint8_t> QuadrantSprites() {
  std::vector<uint8_t> graphics(kDecodedBytes, 0);
  uint8_t* sprite = graphics.data() + kDecodedSprites + 256;
  for (int k = 0; k < 16; ++k)
    for (int j = 0; j < 16; ++j) sprite[k * 16 + j] = k < 8 ? (j < 8 ? 1 : 2) : (j < 8 ? 3 : 0);
  return graphics;
}

class RendererTest : public BoardTest {
 protected:
  void SetUp() override {
    BoardTest::SetUp();
    ASSERT_TRUE(Start(testing::ProgramImage()));
    graphics_ = QuadrantSprites();
    DecodedGraphics = graphics_.data();
    std::fill(std::begin(TileDirty), std::end(TileDirty), 0);
    std::memset(FrameBitmap, kUnwritten, kFrameStride * kFrameRows);
    // Picture pixel (x, y) = x, so a frame pixel tells which picture column it came from.
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) TilePicture[y * 256 + x] = static_cast<uint8_t>(x);
    // Scroll 16 everywhere: frame column x shows picture column x.
    for (int band = 0; band < 32; ++band) MainMemory()[MainAddress::AttributeRam + 2 * band] = 16;
    // All sprites off screen to the left, all bullets off to the right.
    for (int s = 0; s < 8; ++s) MainMemory()[MainAddress::SpriteRam + 4 * s] = 0;
    for (int b = 0; b < 8; ++b) MainMemory()[MainAddress::BulletRam + 4 * b + 1] = 250;
  }
  uint8_t Pixel(int column, int row) { return FrameStart[row * kFrameStride + column]; }
  void Render() { RenderFrame(); }
  uint8_t* Sprite(int s) { return MainMemory() + MainAddress::SpriteRam + 4 * s; }
  uint8_t* Bullet(int b) { return MainMemory() + MainAddress::BulletRam + 4 * b; }
  std::vector<uint8_t> graphics_;
};

TEST_F(RendererTest, BandScrollPicksThePictureColumns) {
  struct Case {
    uint8_t scroll;
    uint8_t firstColumn;  // picture column at frame column 0
    uint8_t column223;    // picture column at frame column 223
  };
  const Case cases[] = {{16, 0, 223}, {0, 16, 239}, {17, 255, 222}, {240, 32, 255}};
  for (const Case& c : cases) {
    MainMemory()[MainAddress::AttributeRam + 2 * 3] = c.scroll;  // band 3: frame rows 24-31
    Render();
    for (int r = 24; r < 32; ++r) {
      EXPECT_EQ(Pixel(0, r), c.firstColumn) << int{c.scroll};
      EXPECT_EQ(Pixel(223, r), c.column223) << int{c.scroll};
    }
    EXPECT_EQ(Pixel(1, 24), static_cast<uint8_t>(c.firstColumn + 1));
    EXPECT_EQ(Pixel(224, 24), kUnwritten);
  }
}

TEST_F(RendererTest, DirtyCellsAreRedrawnWithTheirBandColour) {
  graphics_[kDecodedCharacters + 5 * 64 + 0] = 2;   // character 5, pixel (0, 0)
  MainMemory()[MainAddress::VideoRam + 33] = 5;     // cell 33: band 1, picture column 240
  MainMemory()[MainAddress::AttributeRam + 3] = 6;  // colour of band 1
  TileDirty[33] = 1;
  Render();
  EXPECT_EQ(TileDirty[33], 0);
  EXPECT_EQ(TileOrigin[33], 8u * 256 + 240);
  EXPECT_EQ(TilePicture[8 * 256 + 240], 16 + 4 * 6 + 2);
  EXPECT_EQ(TilePicture[8 * 256 + 241], 16 + 4 * 6);
  EXPECT_EQ(TilePicture[0], 0);  // not flagged: untouched
}

TEST_F(RendererTest, BulletsAreClippedAndPlacedFromTheBottom) {
  Bullet(0)[1] = 15;   // column -1
  Bullet(1)[1] = 240;  // column 224
  Bullet(2)[1] = 116;
  Bullet(2)[3] = 0;
  Render();
  EXPECT_EQ(Pixel(100, 248), kBulletColour);
  EXPECT_EQ(Pixel(101, 248), 101);  // the tile pixel beside it
  EXPECT_EQ(Pixel(0, 248), 0);
}

TEST_F(RendererTest, SpritesFlipAndClip) {
  struct Case {
    uint8_t flags;
    uint8_t topLeft, topRight, bottomLeft;
  };
  // Colour 2: pixel p is drawn as 24 + p; transparent pixels show the tile below.
  const Case cases[] = {
      {0x00, 25, 26, 27}, {0x80, 26, 25, 0}, {0x40, 27, 0, 25}, {0xC0, 0, 27, 26}};
  for (const Case& c : cases) {
    Sprite(0)[0] = 100;  // x = 84
    Sprite(0)[1] = c.flags | 1;
    Sprite(0)[2] = 2;
    Sprite(0)[3] = 50;  // y = 51
    Render();
    auto expect = [&](int column, int row, uint8_t value) {
      EXPECT_EQ(Pixel(column, row), value ? value : column) << int{c.flags} << " " << column;
    };
    expect(84, 51, c.topLeft);
    expect(99, 51, c.topRight);
    expect(84, 66, c.bottomLeft);
  }
}

TEST_F(RendererTest, SpritesAtTheEdgesShowOnlyTheirVisiblePart) {
  Sprite(0)[0] = 8;  // x = -8: the right half at columns 0-7
  Sprite(0)[1] = 1;
  Sprite(0)[3] = 100;
  Sprite(1)[0] = 100;
  Sprite(1)[1] = 1;
  Sprite(1)[3] = 240;  // y = 241: the top 15 rows
  Sprite(2)[0] = 150;
  Sprite(2)[1] = 1;
  Sprite(2)[3] = 255;  // y = 256: nothing
  Render();
  EXPECT_EQ(Pixel(0, 101), 16 + 2);
  EXPECT_EQ(Pixel(84, 255), 16 + 3);
  EXPECT_EQ(Pixel(134, 255), 134);
}

TEST_F(RendererTest, StarsShowOnBackgroundOnlyAndTakeTurnsBeingDark) {
  MainMemory()[MainAddress::StarEnable] = 1;
  std::memset(TilePicture, 16, 256 * 256);  // background everywhere
  auto setStar = [](int k, uint8_t x, uint8_t y, uint8_t colour) {
    StarTable[3 * k] = x;
    StarTable[3 * k + 1] = y;
    StarTable[3 * k + 2] = colour;
  };
  for (int k = 0; k < kStarCount; ++k) setStar(k, 230, 0, 19);  // x >= 224: never drawn
  setStar(1, 10, 20, 19);
  setStar(2, 100, 55, 21);  // under a sprite pixel
  setStar(4, 30, 30, 29);   // k = 4: dark while (FrameCounter >> 6) & 3 == 0
  Sprite(0)[0] = 116;       // x = 100
  Sprite(0)[1] = 1;
  Sprite(0)[3] = 54;  // y = 55
  FrameCounter = 0;
  Render();
  EXPECT_EQ(Pixel(10, 20), 19);
  EXPECT_EQ(Pixel(100, 55), 17);
  EXPECT_EQ(Pixel(30, 30), 16);
  FrameCounter = 64;
  Render();
  EXPECT_EQ(Pixel(30, 30), 29);
  MainMemory()[MainAddress::StarEnable] = 0;
  Render();
  EXPECT_EQ(Pixel(10, 20), 16);
}

TEST_F(RendererTest, LandscapeMovesTheStatusLinesToTheSidePanel) {
  platform::SetDeviceProfile("landscape");
  Bullet(0)[1] = 116;
  Bullet(0)[3] = 0;
  Render();
  EXPECT_EQ(Pixel(224, 0), 0);  // picture column 0, row 0
  EXPECT_EQ(Pixel(295, 15), 71);
  EXPECT_EQ(Pixel(224, 24), 88);
  EXPECT_EQ(Pixel(303, 39), 167);
  EXPECT_EQ(Pixel(240, 48), 168);
  EXPECT_EQ(Pixel(303, 63), 231);
  EXPECT_EQ(Pixel(100, 232), kBulletColour);
  for (int row = 64; row < 240; ++row)
    for (int column = 224; column < 320; ++column)
      ASSERT_EQ(Pixel(column, row), kUnwritten) << column << "," << row;
}

TEST_F(RendererTest, SquareRelayoutPutsBandOneEndsInTheRightColumn) {
  platform::SetDeviceProfile("square");
  Render();
  // Band 1 is frame rows 8-15; its blocks of 8 columns stack up at columns 232-239.
  EXPECT_EQ(Pixel(232, 16), 0);  // block k = 0 from columns 0-7
  EXPECT_EQ(Pixel(239, 23), 7);
  EXPECT_EQ(Pixel(232, 72), 56);    // block k = 7 from columns 56-63
  EXPECT_EQ(Pixel(232, 96), 160);   // from columns 160-167
  EXPECT_EQ(Pixel(232, 152), 216);  // block k = 7 from columns 216-223
}

}  // namespace
}  // namespace machine
