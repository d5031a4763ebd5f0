// A 16-bit mono PCM WAV file written as frames arrive; the header is completed on Close.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace runner {

class WavFile {
 public:
  // False with the reason in error when the file cannot be created.
  bool Open(const std::filesystem::path& file, uint32_t sampleRate, std::string& error);
  void Append(const int16_t* samples, int count);
  // Writes the final sizes; false when the file could not be written completely.
  bool Close();

 private:
  void WriteHeader();
  std::ofstream out_;
  uint32_t sampleRate_ = 0;
  uint32_t dataBytes_ = 0;
};

}  // namespace runner
