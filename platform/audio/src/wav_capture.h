// Writes one open device's stream to a WAV file. The header is rewritten after every append, so
// the file is a complete WAV file at every moment, even if the process is killed.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/audio.h"

namespace platform {

class WavCapture {
 public:
  // Creates the next capture file of this process in the folder (made if missing): wave-PID-N.wav.
  // Null, with the reason in error, when it cannot be created.
  static std::unique_ptr<WavCapture> Create(const std::filesystem::path& folder,
                                            const WAVEFORMATEX& format, std::string& error);
  ~WavCapture();  // completes the file: pad byte and final sizes

  WavCapture(const WavCapture&) = delete;
  WavCapture& operator=(const WavCapture&) = delete;

  void Append(const void* data, size_t bytes);

 private:
  WavCapture(int fd, std::filesystem::path file);
  bool WriteAt(uint64_t offset, const void* data, size_t bytes);
  bool WriteSizes(uint32_t padBytes);
  void Fail(const char* what);

  int fd_;
  std::filesystem::path file_;
  uint32_t dataBytes_ = 0;
};

}  // namespace platform
