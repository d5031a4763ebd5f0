// The colour PROM turned into the palette, and the 2-bitplane graphics decoded to one byte per
// pixel for the renderer.
#pragma once

#include <array>
#include <cstdint>

namespace machine {

struct Rgb {
  uint8_t red, green, blue;
};

inline constexpr int kPaletteEntries = 256;
inline constexpr int kPromBytes = 32;
inline constexpr int kPromPaletteBase = 16;  // palette entry of PROM colour 0

// 3-bit colour levels; 2-bit values use entries 0, 2, 4, 6.
inline constexpr std::array<uint8_t, 8> ColourLevels = {0x00, 0x21, 0x47, 0x68,
                                                        0x97, 0xB8, 0xDE, 0xFF};

inline std::array<Rgb, kPaletteEntries> Palette{};
// RGB565 form of every palette entry; presentation converts frame pixels through it.
inline std::array<uint16_t, kPaletteEntries> ColourLookup{};

// Palette entries 16-47 from the 32 PROM bytes (multiples of 4 black), then ColourLookup.
void BuildPalette(const uint8_t* prom);

struct GraphicsLayout {
  int elements;
  int bytesPerElement;  // within one plane
  int width, height;
  int planeOffsets[8];    // bit offsets, pixel bit 0 first
  int columnOffsets[16];  // bit offsets per column x
  int rowOffsets[16];     // bit offsets per row y
  int decodedStart;       // where the decoded elements go in the graphics buffer
};

extern const GraphicsLayout CharacterLayout;
extern const GraphicsLayout SpriteLayout;

inline constexpr int kGraphicsBufferBytes = 80 * 1024;
inline constexpr int kRawGraphicsBytes = 0x1000;
inline constexpr int kPromOffset = 0x1000;  // PROM bytes in the graphics buffer before decoding
inline constexpr int kDecodedCharacters = 0x0000;  // 256 elements of 8 x 8 bytes
inline constexpr int kDecodedSprites = 0x4000;     // 64 elements of 16 x 16 bytes
inline constexpr int kDecodedBytes = 0x8000;

// Replaces the first 32 KiB of the graphics buffer with the decoded characters and sprites.
void DecodeGraphics(uint8_t* graphics);

}  // namespace machine
