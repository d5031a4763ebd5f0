#include "wave_image.h"

#include <cstring>

namespace callchime {
namespace {

uint32_t ReadU32(const uint8_t* bytes) {
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}
uint16_t ReadU16(const uint8_t* bytes) {
  return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

constexpr size_t kChunkHeader = 8;
constexpr size_t kFormatBlock = 16;

}  // namespace

bool ParseWaveImage(const uint8_t* image, size_t size, WaveImage& out) {
  if (!image || size < 12 || std::memcmp(image, "RIFF", 4) != 0 ||
      std::memcmp(image + 8, "WAVE", 4) != 0) {
    return false;
  }
  bool formatSeen = false;
  const uint8_t* data = nullptr;
  uint32_t dataSize = 0;
  size_t position = 12;
  while (size - position >= kChunkHeader) {
    const uint8_t* chunk = image + position;
    uint64_t chunkSize = ReadU32(chunk + 4);
    size_t body = position + kChunkHeader;
    if (chunkSize > size - body) break;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (chunkSize < kFormatBlock) break;
      const uint8_t* block = image + body;
      out.format = {ReadU16(block),     ReadU16(block + 2),  ReadU32(block + 4),
                    ReadU32(block + 8), ReadU16(block + 12), ReadU16(block + 14)};
      formatSeen = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      data = image + body;
      dataSize = static_cast<uint32_t>(chunkSize);
    }
    uint64_t next = body + chunkSize + (chunkSize & 1);
    if (next >= size) break;
    position = static_cast<size_t>(next);
  }
  if (!formatSeen || !data) return false;
  out.data = data;
  out.dataSize = dataSize;
  return true;
}

}  // namespace callchime
