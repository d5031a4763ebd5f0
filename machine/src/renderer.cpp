#include "machine/renderer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "machine/alloc.h"
#include "machine/board.h"
#include "machine/graphics.h"
#include "platform/screen.h"

namespace machine {
namespace {

constexpr uint8_t kStarColours[12] = {0x03, 0x05, 0x06, 0x07, 0x09, 0x0A,
                                      0x0B, 0x0D, 0x0E, 0x12, 0x1D, 0x1F};
constexpr int kSpriteCount = 8;
constexpr int kBulletCount = 8;
constexpr int kSpriteSize = 16;
constexpr int kSpriteClipRows = 256;
constexpr uint8_t kTransparentSpritePixel = 0;
constexpr int kBandCount = 32;

uint8_t* FrameRow(int row) {
  return FrameStart + row * kFrameStride;
}

uint8_t ColourBase(uint8_t colourByte) {
  return static_cast<uint8_t>(kPromPaletteBase + 4 * (colourByte & 7));
}

void GenerateStars() {
  int filled = 0;
  while (filled < kStarCount) {
    const int x = std::rand() % 256;
    const int y = std::rand() % 256;
    const int colour = kStarColours[std::rand() % 12] + kPromPaletteBase;
    if (x < 16 || x > 239) continue;
    StarTable[3 * filled] = static_cast<uint8_t>(x);
    StarTable[3 * filled + 1] = static_cast<uint8_t>(y);
    StarTable[3 * filled + 2] = static_cast<uint8_t>(colour);
    ++filled;
  }
}

// Hot path: redraws the changed cells. A character row is eight bytes; the colour offset is
// added to all eight at once, which never carries between bytes (16 + 4 x 7 + 3 = 47).
void RefreshTiles() {
  const uint8_t* memory = MainMemory();
  const uint8_t* characters = DecodedGraphics + kDecodedCharacters;
  for (int cell = 0; cell < kTileCount; ++cell) {
    if (!TileDirty[cell]) continue;
    TileDirty[cell] = 0;
    const uint8_t colour = ColourBase(memory[MainAddress::AttributeRam + 2 * (cell & 31) + 1]);
    const uint64_t offset = colour * 0x0101010101010101ull;
    const uint8_t* source = characters + memory[MainAddress::VideoRam + cell] * 64;
    uint8_t* target = TilePicture + TileOrigin[cell];
    for (int row = 0; row < 8; ++row) {
      uint64_t pixels;
      std::memcpy(&pixels, source + 8 * row, 8);
      pixels += offset;
      std::memcpy(target + row * kTilePictureSize, &pixels, 8);
    }
  }
}

// Hot path: copies each band's eight picture rows, scrolled, as one or two spans per row.
void CopyBands(int firstBand) {
  const uint8_t* memory = MainMemory();
  for (int band = firstBand; band < kBandCount; ++band) {
    const int start = (16 - memory[MainAddress::AttributeRam + 2 * band]) & 255;
    const int firstSpan = std::min(kGameWidth, kTilePictureSize - start);
    for (int r = 0; r < 8; ++r) {
      const uint8_t* source = TilePicture + (8 * band + r) * kTilePictureSize;
      uint8_t* target = FrameRow(8 * (band - firstBand) + r);
      if (firstSpan == kGameWidth) {
        std::memcpy(target, source + start, kGameWidth);  // fixed size: plain vector moves
      } else {
        std::memcpy(target, source + start, firstSpan);
        std::memcpy(target + firstSpan, source, kGameWidth - firstSpan);
      }
    }
  }
}

// Landscape: the status lines of bands 0-1 go to the panel right of the game picture.
void CopySidePanel() {
  struct Piece {
    int fromColumn, width, toRow, toColumn;
  };
  constexpr Piece kPieces[] = {{0, 72, 0, 224}, {88, 80, 24, 224}, {168, 64, 48, 240}};
  for (const Piece& piece : kPieces) {
    for (int r = 0; r < 16; ++r) {
      std::memcpy(FrameRow(piece.toRow + r) + piece.toColumn,
                  TilePicture + r * kTilePictureSize + piece.fromColumn, piece.width);
    }
  }
}

void DrawBullets(int pictureHeight) {
  const uint8_t* bullets = MainMemory() + MainAddress::BulletRam;
  for (int b = 0; b < kBulletCount; ++b) {
    const int column = bullets[4 * b + 1] - 16;
    const int row = pictureHeight - bullets[4 * b + 3] - 8;
    if (column < 0 || column >= kGameWidth || row < 0) continue;
    FrameRow(row)[column] = kBulletColour;
  }
}

// Hot path: clips each sprite once, then copies its opaque pixels row by row.
void DrawSprites(int verticalShift) {
  const uint8_t* sprites = MainMemory() + MainAddress::SpriteRam;
  const uint8_t* patterns = DecodedGraphics + kDecodedSprites;
  for (int s = 0; s < kSpriteCount; ++s) {
    const uint8_t* attributes = sprites + 4 * s;
    const int x = attributes[0] - 16;
    const int y = attributes[3] + 1 - verticalShift;
    const bool flipX = attributes[1] & 0x80;
    const bool flipY = attributes[1] & 0x40;
    const uint8_t colour = ColourBase(attributes[2]);
    const uint8_t* pattern = patterns + (attributes[1] & 0x3F) * kSpriteSize * kSpriteSize;
    const int firstColumn = std::max(0, -x), endColumn = std::min(kSpriteSize, kGameWidth - x);
    const int firstRow = std::max(0, -y), endRow = std::min(kSpriteSize, kSpriteClipRows - y);
    for (int k = firstRow; k < endRow; ++k) {
      const uint8_t* source = pattern + (flipY ? 15 - k : k) * kSpriteSize;
      uint8_t* target = FrameRow(y + k) + x;
      for (int j = firstColumn; j < endColumn; ++j) {
        const uint8_t p = source[flipX ? 15 - j : j];
        if (p != kTransparentSpritePixel) target[j] = static_cast<uint8_t>(colour + p);
      }
    }
  }
}

void DrawStars(int verticalShift) {
  if (!(MainMemory()[MainAddress::StarEnable] & 1)) return;
  const uint32_t darkQuarter = FrameCounter >> 6;
  for (int k = 0; k < kStarsDrawn; ++k) {
    if (((k ^ darkQuarter) & 3) == 0) continue;
    const int x = StarTable[3 * k];
    const int row = StarTable[3 * k + 1] - verticalShift;
    if (x >= kGameWidth) continue;
    uint8_t& pixel = FrameRow(row)[x];
    if (pixel % 4 == 0) pixel = StarTable[3 * k + 2];
  }
}

void CopyBlock(int fromColumn, int fromRow, int toColumn, int toRow) {
  for (int r = 0; r < 8; ++r)
    std::memcpy(FrameRow(toRow + r) + toColumn, FrameRow(fromRow + r) + fromColumn, 8);
}

// Square screens start at frame row 16: the two ends of band 1 become a column at the right.
void RelayoutForSquare() {
  for (int k = 0; k < 8; ++k) {
    CopyBlock(8 * k, 8, 232, 16 + 8 * k);
    CopyBlock(160 + 8 * k, 8, 232, 96 + 8 * k);
  }
}

}  // namespace

ScreenLayout LayoutForScreen(int width, int height) {
  if (width > height) return ScreenLayout::Landscape;
  if (width == height) return ScreenLayout::Square;
  return ScreenLayout::Portrait;
}

void RendererSetUp() {
  FrameBitmap = static_cast<uint8_t*>(AllocZeroed(kFrameStride * kFrameRows));
  FrameStart = FrameBitmap + kFrameMarginRows * kFrameStride;
  TilePicture = static_cast<uint8_t*>(AllocZeroed(kTilePictureSize * kTilePictureSize));
  for (int cell = 0; cell < kTileCount; ++cell) {
    const int column = 8 * (31 - (cell >> 5));
    const int row = 8 * (cell & 31);
    TileOrigin[cell] = static_cast<uint32_t>(row * kTilePictureSize + column);
  }
  StarTable = static_cast<uint8_t*>(AllocZeroed(kStarTableBytes));
  GenerateStars();
}

void RendererTearDown() {
  FreeBlock(StarTable);
  FreeBlock(TilePicture);
  FreeBlock(FrameBitmap);
  StarTable = TilePicture = FrameBitmap = FrameStart = nullptr;
}

void RenderFrame() {
  const ScreenLayout layout =
      LayoutForScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  const bool landscape = layout == ScreenLayout::Landscape;
  const int verticalShift = landscape ? 16 : 0;
  RefreshTiles();
  if (landscape) CopySidePanel();
  CopyBands(landscape ? 2 : 0);
  DrawBullets(landscape ? 240 : 256);
  DrawSprites(verticalShift);
  DrawStars(verticalShift);
  if (layout == ScreenLayout::Square) RelayoutForSquare();
}

}  // namespace machine
