// Pixel-art sources for the board's graphics ROM and colour PROM.
//
// Art files hold sections, each a header line followed by rows of pixels, one character per pixel:
// '.' is 0 (transparent or background), '1', '2' and '3' the other three values of a 2-bit pixel.
//
//   text 0x11 A        8x8 character used for text (the code must follow the board's text codes)
//   tile 0x30 ROCK_TL  8x8 character used as a playfield tile
//   sprite 0x20 SHIP   16x16 sprite; sprite k occupies the bytes of characters 4k..4k+3
//
// Lines starting with '#' and blank lines between sections are ignored. The palette file holds
// lines "set N: r,g,b r,g,b r,g,b r,g,b" with red and green levels 0-7 and blue 0-3; entry 0 of
// each set is always shown black by the board.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace art {

constexpr int kCharCount = 256;
constexpr int kSpriteCount = 64;
constexpr int kPlaneBytes = 0x800;
constexpr int kGraphicsBytes = 2 * kPlaneBytes;
constexpr int kPromBytes = 32;

enum class Kind { Text, Tile, Sprite };

struct Element {
  Kind kind;
  int code;          // character code for text and tiles, sprite code for sprites
  std::string name;  // glyph for text, identifier for tiles and sprites
  std::vector<std::string> rows;
  int line;  // line of the header in the source, for messages
};

// Parses one art file; throws std::runtime_error naming the file and line on bad input.
std::vector<Element> ParseArt(const std::string& text, const std::string& source_name);

// Lays the elements into the two bitplanes; throws when two elements claim the same character or a
// text glyph's code breaks the text code rule.
std::array<uint8_t, kGraphicsBytes> BuildGraphics(const std::vector<Element>& elements);

// Sets pixel (x, y) of character `code` or of sprite `code` to the 2-bit value.
void PutCharPixel(std::array<uint8_t, kGraphicsBytes>& gfx, int code, int x, int y, int value);
void PutSpritePixel(std::array<uint8_t, kGraphicsBytes>& gfx, int code, int x, int y, int value);

// Parses the palette source into the 32 PROM bytes.
std::array<uint8_t, kPromBytes> BuildProm(const std::string& text, const std::string& source_name);

// The C header that gives the tile and sprite names their codes.
std::string CodesHeader(const std::vector<Element>& elements);

}  // namespace art
