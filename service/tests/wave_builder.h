// Builds small RIFF/WAVE images chunk by chunk for the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace callchime::testing {

class WaveBuilder {
 public:
  WaveBuilder& Chunk(const std::string& id, const std::vector<uint8_t>& body) {
    chunks_.insert(chunks_.end(), id.begin(), id.end());
    PutU32(chunks_, static_cast<uint32_t>(body.size()));
    chunks_.insert(chunks_.end(), body.begin(), body.end());
    if (body.size() % 2) chunks_.push_back(0);  // pad byte
    return *this;
  }
  // PCM mono 11025 Hz 16-bit.
  WaveBuilder& Format() {
    return Chunk("fmt ", {1, 0, 1, 0, 0x11, 0x2B, 0, 0, 0x22, 0x56, 0, 0, 2, 0, 16, 0});
  }
  WaveBuilder& Data(size_t bytes) { return Chunk("data", std::vector<uint8_t>(bytes, 0x40)); }

  std::vector<uint8_t> Build(const std::string& form = "WAVE") const {
    std::vector<uint8_t> image = {'R', 'I', 'F', 'F'};
    PutU32(image, static_cast<uint32_t>(4 + chunks_.size()));
    image.insert(image.end(), form.begin(), form.end());
    image.insert(image.end(), chunks_.begin(), chunks_.end());
    return image;
  }

 private:
  static void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
  }
  std::vector<uint8_t> chunks_;
};

}  // namespace callchime::testing
