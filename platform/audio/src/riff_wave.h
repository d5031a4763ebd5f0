// Reads a RIFF/WAVE file image in memory without copying it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/audio.h"

namespace platform {

struct WaveImage {
  WAVEFORMATEX format;  // from the first 16 bytes of the "fmt " chunk; cbSize 0
  const uint8_t* data;  // the "data" chunk's first byte, inside the image
  uint32_t dataBytes;
};

// Walks the chunks after "RIFF" size "WAVE": the last complete "fmt " and "data" chunks count,
// in any order, with other chunks ("LIST", ...) skipped and odd-sized chunks followed by their
// pad byte. A chunk that claims more bytes than the image holds ends the walk and does not count.
// Nothing outside the image is read. Null unless both a format and data were found; whether the
// format can be played is for the wave output to decide.
std::optional<WaveImage> ParseWaveImage(std::span<const uint8_t> image);

}  // namespace platform
