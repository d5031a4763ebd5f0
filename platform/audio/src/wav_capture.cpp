#include "wav_capture.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>

namespace platform {
namespace {

constexpr uint32_t kHeaderBytes = 44;
constexpr uint32_t kRiffSizeOffset = 4;
constexpr uint32_t kDataSizeOffset = 40;

void PutU16(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(uint8_t* at, uint32_t value) {
  PutU16(at, value & 0xFFFF);
  PutU16(at + 2, value >> 16);
}

// The canonical 44-byte header of a PCM file with no samples yet.
void BuildHeader(const WAVEFORMATEX& format, uint8_t* header) {
  std::memcpy(header, "RIFF", 4);
  PutU32(header + kRiffSizeOffset, kHeaderBytes - 8);
  std::memcpy(header + 8, "WAVEfmt ", 8);
  PutU32(header + 16, 16);
  PutU16(header + 20, format.wFormatTag);
  PutU16(header + 22, format.nChannels);
  PutU32(header + 24, format.nSamplesPerSec);
  PutU32(header + 28, format.nAvgBytesPerSec);
  PutU16(header + 32, format.nBlockAlign);
  PutU16(header + 34, format.wBitsPerSample);
  std::memcpy(header + 36, "data", 4);
  PutU32(header + kDataSizeOffset, 0);
}

}  // namespace

std::unique_ptr<WavCapture> WavCapture::Create(const std::filesystem::path& folder,
                                               const WAVEFORMATEX& format, std::string& error) {
  static std::atomic<unsigned> opens{0};
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  std::filesystem::path file =
      folder / ("wave-" + std::to_string(getpid()) + "-" + std::to_string(++opens) + ".wav");
  int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = "cannot create " + file.string() + ": " + std::strerror(errno);
    return nullptr;
  }
  std::unique_ptr<WavCapture> capture(new WavCapture(fd, file));
  uint8_t header[kHeaderBytes];
  BuildHeader(format, header);
  if (!capture->WriteAt(0, header, sizeof header)) {
    error = "cannot write " + file.string() + ": " + std::strerror(errno);
    return nullptr;
  }
  return capture;
}

WavCapture::WavCapture(int fd, std::filesystem::path file) : fd_(fd), file_(std::move(file)) {}

WavCapture::~WavCapture() {
  if (fd_ < 0) return;
  // RIFF chunks have even lengths: an odd number of sample bytes is followed by one pad byte.
  uint32_t pad = dataBytes_ % 2;
  const uint8_t zero = 0;
  if (pad && !WriteAt(kHeaderBytes + uint64_t{dataBytes_}, &zero, 1)) pad = 0;
  WriteSizes(pad);
  ::close(fd_);
}

void WavCapture::Append(const void* data, size_t bytes) {
  if (fd_ < 0 || bytes == 0) return;
  // A WAV file holds at most 4 GiB; the capture ends there (about 13 hours of the game's sound).
  uint64_t limit = std::numeric_limits<uint32_t>::max() - kHeaderBytes;
  if (dataBytes_ + uint64_t{bytes} > limit) return;
  if (!WriteAt(kHeaderBytes + uint64_t{dataBytes_}, data, bytes)) return Fail("write");
  dataBytes_ += static_cast<uint32_t>(bytes);
  if (!WriteSizes(0)) Fail("write");
}

bool WavCapture::WriteAt(uint64_t offset, const void* data, size_t bytes) {
  auto* from = static_cast<const uint8_t*>(data);
  while (bytes > 0) {
    ssize_t written = ::pwrite(fd_, from, bytes, static_cast<off_t>(offset));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    from += written;
    offset += static_cast<uint64_t>(written);
    bytes -= static_cast<size_t>(written);
  }
  return true;
}

bool WavCapture::WriteSizes(uint32_t padBytes) {
  uint8_t size[4];
  PutU32(size, kHeaderBytes - 8 + dataBytes_ + padBytes);
  if (!WriteAt(kRiffSizeOffset, size, 4)) return false;
  PutU32(size, dataBytes_);
  return WriteAt(kDataSizeOffset, size, 4);
}

// A full disk or a removed folder ends the capture; the device plays on.
void WavCapture::Fail(const char* what) {
  std::fprintf(stderr, "audio capture: cannot %s %s: %s; capture stopped\n", what, file_.c_str(),
               std::strerror(errno));
  ::close(fd_);
  fd_ = -1;
}

}  // namespace platform
