#include "wav_file.h"

namespace runner {
namespace {

void PutU32(std::ofstream& out, uint32_t v) {
  const char bytes[4] = {static_cast<char>(v), static_cast<char>(v >> 8),
                         static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
  out.write(bytes, 4);
}

void PutU16(std::ofstream& out, uint16_t v) {
  const char bytes[2] = {static_cast<char>(v), static_cast<char>(v >> 8)};
  out.write(bytes, 2);
}

}  // namespace

bool WavFile::Open(const std::filesystem::path& file, uint32_t sampleRate, std::string& error) {
  out_.open(file, std::ios::binary | std::ios::trunc);
  if (!out_) {
    error = "cannot create " + file.string();
    return false;
  }
  sampleRate_ = sampleRate;
  dataBytes_ = 0;
  WriteHeader();
  return true;
}

void WavFile::WriteHeader() {
  out_.write("RIFF", 4);
  PutU32(out_, 36 + dataBytes_);
  out_.write("WAVEfmt ", 8);
  PutU32(out_, 16);
  PutU16(out_, 1);  // PCM
  PutU16(out_, 1);  // mono
  PutU32(out_, sampleRate_);
  PutU32(out_, sampleRate_ * 2);
  PutU16(out_, 2);
  PutU16(out_, 16);
  out_.write("data", 4);
  PutU32(out_, dataBytes_);
}

void WavFile::Append(const int16_t* samples, int count) {
  for (int i = 0; i < count; ++i) PutU16(out_, static_cast<uint16_t>(samples[i]));
  dataBytes_ += static_cast<uint32_t>(count) * 2;
}

bool WavFile::Close() {
  if (!out_.is_open()) return true;
  out_.seekp(0);
  WriteHeader();
  out_.close();
  return !out_.fail();
}

}  // namespace runner
