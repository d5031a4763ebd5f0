#include <png.h>

#include <cstdio>
#include <vector>

#include "platform/host.h"

namespace platform::host {
namespace {

// Expands 5 or 6 bits to 8 so that full intensity stays full.
uint8_t Expand5(uint16_t v) {
  return static_cast<uint8_t>(v << 3 | v >> 2);
}
uint8_t Expand6(uint16_t v) {
  return static_cast<uint8_t>(v << 2 | v >> 4);
}

}  // namespace

bool WritePng(const std::filesystem::path& file, const uint16_t* pixels, int width, int height,
              int pitchPixels, std::string& error) {
  FILE* out = std::fopen(file.c_str(), "wb");
  if (!out) {
    error = "cannot create " + file.string();
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
  bool ok = png && info;
  if (ok && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, out);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
      const uint16_t* source = pixels + static_cast<size_t>(y) * pitchPixels;
      for (int x = 0; x < width; ++x) {
        row[3 * x] = Expand5(source[x] >> 11);
        row[3 * x + 1] = Expand6((source[x] >> 5) & 0x3F);
        row[3 * x + 2] = Expand5(source[x] & 0x1F);
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
  } else {
    ok = false;
  }
  png_destroy_write_struct(&png, &info);
  if (std::fclose(out) != 0) ok = false;
  if (!ok) {
    error = "cannot write " + file.string();
    std::filesystem::remove(file);
  }
  return ok;
}

}  // namespace platform::host
