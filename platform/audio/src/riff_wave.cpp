#include "riff_wave.h"

#include <cstring>

namespace platform {
namespace {

constexpr size_t kChunkHeaderBytes = 8;
constexpr size_t kFormatBytes = 16;

uint16_t U16At(const uint8_t* at) {
  return static_cast<uint16_t>(at[0] | at[1] << 8);
}

uint32_t U32At(const uint8_t* at) {
  return U16At(at) | static_cast<uint32_t>(U16At(at + 2)) << 16;
}

bool IdIs(const uint8_t* at, const char* id) {
  return std::memcmp(at, id, 4) == 0;
}

WAVEFORMATEX FormatFrom(const uint8_t* fmt) {
  return {.wFormatTag = U16At(fmt),
          .nChannels = U16At(fmt + 2),
          .nSamplesPerSec = U32At(fmt + 4),
          .nAvgBytesPerSec = U32At(fmt + 8),
          .nBlockAlign = U16At(fmt + 12),
          .wBitsPerSample = U16At(fmt + 14),
          .cbSize = 0};
}

}  // namespace

std::optional<WaveImage> ParseWaveImage(std::span<const uint8_t> image) {
  if (image.size() < 12 || !IdIs(image.data(), "RIFF") || !IdIs(image.data() + 8, "WAVE")) {
    return std::nullopt;
  }
  std::optional<WAVEFORMATEX> format;
  const uint8_t* data = nullptr;
  uint32_t dataBytes = 0;
  size_t at = 12;
  while (image.size() - at >= kChunkHeaderBytes) {
    const uint8_t* chunk = image.data() + at;
    uint32_t size = U32At(chunk + 4);
    size_t body = at + kChunkHeaderBytes;
    if (size > image.size() - body) break;
    if (IdIs(chunk, "fmt ") && size >= kFormatBytes) {
      format = FormatFrom(image.data() + body);
    } else if (IdIs(chunk, "data")) {
      data = image.data() + body;
      dataBytes = size;
    }
    // The pad byte after an odd-sized chunk may be missing at the very end of the image.
    size_t next = body + size + (size & 1);
    if (next > image.size()) break;
    at = next;
  }
  if (!format || !data) return std::nullopt;
  return WaveImage{*format, data, dataBytes};
}

}  // namespace platform
