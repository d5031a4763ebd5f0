#include "machine/graphics.h"

#include <cstring>

#include "machine/alloc.h"

namespace machine {

const GraphicsLayout CharacterLayout = {
    256,
    8,
    8,
    8,
    {16384, 0},
    {56, 48, 40, 32, 24, 16, 8, 0},
    {7, 6, 5, 4, 3, 2, 1, 0},
    kDecodedCharacters,
};

const GraphicsLayout SpriteLayout = {
    64,
    32,
    16,
    16,
    {16384, 0},
    {184, 176, 168, 160, 152, 144, 136, 128, 56, 48, 40, 32, 24, 16, 8, 0},
    {7, 6, 5, 4, 3, 2, 1, 0, 71, 70, 69, 68, 67, 66, 65, 64},
    kDecodedSprites,
};

namespace {

constexpr int kPlanes = 2;

void DecodeLayout(const GraphicsLayout& layout, const uint8_t* raw, uint8_t* decoded) {
  for (int k = 0; k < layout.elements; ++k) {
    const uint8_t* element = raw + k * layout.bytesPerElement;
    uint8_t* out = decoded + layout.decodedStart + k * layout.width * layout.height;
    for (int y = 0; y < layout.height; ++y) {
      for (int x = 0; x < layout.width; ++x) {
        uint8_t pixel = 0;
        for (int plane = 0; plane < kPlanes; ++plane) {
          const int bit =
              layout.planeOffsets[plane] + layout.columnOffsets[x] + layout.rowOffsets[y];
          if (element[bit >> 3] & (1 << (bit & 7))) pixel |= 1 << plane;
        }
        out[y * layout.width + x] = pixel;
      }
    }
  }
}

uint16_t ToRgb565(Rgb c) {
  return static_cast<uint16_t>((c.red >> 3) << 11 | (c.green >> 2) << 5 | (c.blue >> 3));
}

}  // namespace

void BuildPalette(const uint8_t* prom) {
  for (int e = 0; e < kPromBytes; ++e) {
    const uint8_t g = prom[e];
    Palette[kPromPaletteBase + e] =
        e % 4 == 0
            ? Rgb{0, 0, 0}
            : Rgb{ColourLevels[g & 7], ColourLevels[(g >> 3) & 7], ColourLevels[2 * (g >> 6)]};
  }
  for (int i = 0; i < kPaletteEntries; ++i) ColourLookup[i] = ToRgb565(Palette[i]);
}

void DecodeGraphics(uint8_t* graphics) {
  auto* scratch = static_cast<uint8_t*>(AllocZeroed(kDecodedBytes));
  DecodeLayout(CharacterLayout, graphics, scratch);
  DecodeLayout(SpriteLayout, graphics, scratch);
  std::memcpy(graphics, scratch, kDecodedBytes);
  FreeBlock(scratch);
}

}  // namespace machine
