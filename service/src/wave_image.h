// The parsed view of a RIFF/WAVE image in memory: nothing is copied, the view points into the
// image.
#pragma once

#include <cstddef>
#include <cstdint>

namespace callchime {

struct WaveFormatBlock {
  uint16_t formatTag;
  uint16_t channels;
  uint32_t samplesPerSec;
  uint32_t avgBytesPerSec;
  uint16_t blockAlign;
  uint16_t bitsPerSample;
};

struct WaveImage {
  WaveFormatBlock format;
  const uint8_t* data;  // first sample byte
  uint32_t dataSize;
};

// Walks the chunks after the "RIFF" header and the "WAVE" form type: a "fmt " chunk gives the
// format, the last "data" chunk gives the samples, other chunks are skipped (odd sizes are
// followed by a pad byte). A chunk that claims more bytes than the image holds, or a "fmt "
// chunk shorter than its 16-byte format block, is damage: the walk stops there and that chunk
// does not count, so nothing outside the image is ever read. True when both a format and data
// were found.
bool ParseWaveImage(const uint8_t* image, size_t size, WaveImage& out);

}  // namespace callchime
