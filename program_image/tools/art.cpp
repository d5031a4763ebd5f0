#include "art.h"

#include <cctype>
#include <map>
#include <sstream>
#include <stdexcept>

namespace art {
namespace {

[[noreturn]] void Fail(const std::string& source, int line, const std::string& what) {
  throw std::runtime_error(source + ":" + std::to_string(line) + ": " + what);
}

int ParseCode(const std::string& word, const std::string& source, int line) {
  size_t used = 0;
  int code = -1;
  try {
    code = std::stoi(word, &used, 0);
  } catch (const std::exception&) {
    Fail(source, line, "bad code '" + word + "'");
  }
  if (used != word.size()) Fail(source, line, "bad code '" + word + "'");
  return code;
}

int PixelValue(char c) {
  switch (c) {
    case '.': return 0;
    case '1': return 1;
    case '2': return 2;
    case '3': return 3;
    default: return -1;
  }
}

// The board shows digits and capitals at their ASCII code less 0x30 and the space at 0x10.
void CheckTextCode(const Element& e, const std::string& source) {
  bool glyph_is_single = e.name.size() == 1;
  char c = glyph_is_single ? e.name[0] : 0;
  bool ruled = glyph_is_single && (std::isdigit(static_cast<unsigned char>(c)) ||
                                   std::isupper(static_cast<unsigned char>(c)));
  if (ruled && e.code != c - 0x30) {
    Fail(source, e.line, "text glyph '" + e.name + "' must have code " + std::to_string(c - 0x30));
  }
  if (!ruled && ((e.code >= 0x00 && e.code <= 0x09) || (e.code >= 0x10 && e.code <= 0x2A))) {
    bool is_space = e.name == "SPACE" && e.code == 0x10;
    if (!is_space) Fail(source, e.line, "symbol '" + e.name + "' takes a digit or letter code");
  }
}

}  // namespace

std::vector<Element> ParseArt(const std::string& text, const std::string& source_name) {
  std::vector<Element> elements;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  Element* open = nullptr;
  size_t want_rows = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (open && open->rows.size() < want_rows) {
      if (line.size() != want_rows) {
        Fail(source_name, number, "row must be " + std::to_string(want_rows) + " pixels wide");
      }
      for (char c : line) {
        if (PixelValue(c) < 0) Fail(source_name, number, std::string("bad pixel '") + c + "'");
      }
      open->rows.push_back(line);
      continue;
    }
    open = nullptr;
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string kind, code, name, extra;
    words >> kind >> code >> name;
    if (name.empty() || (words >> extra)) Fail(source_name, number, "expected 'KIND CODE NAME'");
    Element e{Kind::Text, ParseCode(code, source_name, number), name, {}, number};
    if (kind == "text") {
      e.kind = Kind::Text;
    } else if (kind == "tile") {
      e.kind = Kind::Tile;
    } else if (kind == "sprite") {
      e.kind = Kind::Sprite;
    } else {
      Fail(source_name, number, "unknown section '" + kind + "'");
    }
    int limit = e.kind == Kind::Sprite ? kSpriteCount : kCharCount;
    if (e.code < 0 || e.code >= limit) Fail(source_name, number, "code out of range");
    if (e.kind == Kind::Text) CheckTextCode(e, source_name);
    elements.push_back(e);
    open = &elements.back();
    want_rows = e.kind == Kind::Sprite ? 16 : 8;
  }
  if (open && open->rows.size() < want_rows) {
    Fail(source_name, open->line, "section '" + open->name + "' ends early");
  }
  return elements;
}

// Pixel bit 0 lives in the second bitplane and bit 1 in the first. Each byte is one column of 8
// pixels with the top pixel in bit 7; a character's byte 0 is its rightmost column.
void PutCharPixel(std::array<uint8_t, kGraphicsBytes>& gfx, int code, int x, int y, int value) {
  int byte = code * 8 + (7 - x);
  uint8_t bit = static_cast<uint8_t>(0x80 >> y);
  for (int plane = 0; plane < 2; ++plane) {
    uint8_t& b = gfx[(plane == 0 ? kPlaneBytes : 0) + byte];
    if (value & (1 << plane)) {
      b |= bit;
    } else {
      b &= static_cast<uint8_t>(~bit);
    }
  }
}

// A sprite is four characters: 4k+2 top left, 4k+3 bottom left, 4k top right, 4k+1 bottom right.
void PutSpritePixel(std::array<uint8_t, kGraphicsBytes>& gfx, int code, int x, int y, int value) {
  static constexpr int kQuadrant[2][2] = {{2, 3}, {0, 1}};  // [right half][bottom half]
  int quadrant = kQuadrant[x >= 8][y >= 8];
  PutCharPixel(gfx, code * 4 + quadrant, x & 7, y & 7, value);
}

std::array<uint8_t, kGraphicsBytes> BuildGraphics(const std::vector<Element>& elements) {
  std::array<uint8_t, kGraphicsBytes> gfx{};
  std::map<int, const Element*> owner;
  for (const Element& e : elements) {
    int first = e.kind == Kind::Sprite ? e.code * 4 : e.code;
    int count = e.kind == Kind::Sprite ? 4 : 1;
    for (int c = first; c < first + count; ++c) {
      auto [it, fresh] = owner.emplace(c, &e);
      if (!fresh) {
        throw std::runtime_error("'" + e.name + "' (line " + std::to_string(e.line) +
                                 ") uses character " + std::to_string(c) + ", already taken by '" +
                                 it->second->name + "' (line " + std::to_string(it->second->line) +
                                 ")");
      }
    }
    int size = e.kind == Kind::Sprite ? 16 : 8;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        int value = PixelValue(e.rows[y][x]);
        if (e.kind == Kind::Sprite) {
          PutSpritePixel(gfx, e.code, x, y, value);
        } else {
          PutCharPixel(gfx, e.code, x, y, value);
        }
      }
    }
  }
  return gfx;
}

// PROM byte: red level in bits 0-2, green in bits 3-5, blue in bits 6-7.
std::array<uint8_t, kPromBytes> BuildProm(const std::string& text, const std::string& source_name) {
  std::array<uint8_t, kPromBytes> prom{};
  std::array<bool, 8> seen{};
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    int set = -1;
    char colon = 0;
    std::istringstream words(line);
    std::string keyword;
    words >> keyword >> set >> colon;
    if (keyword != "set" || colon != ':' || set < 0 || set > 7) {
      Fail(source_name, number, "expected 'set N: r,g,b r,g,b r,g,b r,g,b'");
    }
    if (seen[set]) Fail(source_name, number, "set " + std::to_string(set) + " given twice");
    seen[set] = true;
    for (int entry = 0; entry < 4; ++entry) {
      int r = -1, g = -1, b = -1;
      char c1 = 0, c2 = 0;
      if (!(words >> r >> c1 >> g >> c2 >> b) || c1 != ',' || c2 != ',') {
        Fail(source_name, number, "set needs four r,g,b colours");
      }
      if (r < 0 || r > 7 || g < 0 || g > 7 || b < 0 || b > 3) {
        Fail(source_name, number, "levels are red 0-7, green 0-7, blue 0-3");
      }
      prom[set * 4 + entry] = static_cast<uint8_t>(r | g << 3 | b << 6);
    }
  }
  for (int set = 0; set < 8; ++set) {
    if (!seen[set]) Fail(source_name, number, "set " + std::to_string(set) + " missing");
  }
  return prom;
}

std::string CodesHeader(const std::vector<Element>& elements) {
  std::ostringstream out;
  out << "/* Made by the art converter from the pixel-art sources. */\n"
      << "#ifndef ART_CODES_H\n#define ART_CODES_H\n\n";
  for (const Element& e : elements) {
    if (e.kind == Kind::Text) continue;
    out << "#define " << (e.kind == Kind::Tile ? "TILE_" : "SPRITE_") << e.name << " 0x" << std::hex
        << e.code << std::dec << "\n";
  }
  out << "\n#endif\n";
  return out.str();
}

}  // namespace art
