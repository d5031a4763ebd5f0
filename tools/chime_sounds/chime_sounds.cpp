// Build-time tool: writes the service's two signal sounds as RIFF/WAVE files, PCM mono 11025 Hz
// 16-bit.
//   chime_sounds chime OUT.wav   a two-tone chime, 8722 sample frames (about 791 ms)
//   chime_sounds tick OUT.wav    a short bright tick, 3452 sample frames (about 313 ms)
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <vector>

namespace {

constexpr int kRate = 11025;
constexpr size_t kChimeFrames = 8722;
constexpr size_t kTickFrames = 3452;

// A struck tone: a sine with a soft second partial, a 4 ms attack and an exponential decay.
double Bell(double t, double frequency, double decayPerSecond) {
  if (t < 0) return 0;
  double attack = std::min(1.0, t / 0.004);
  double tone = std::sin(2 * std::numbers::pi * frequency * t) +
                0.25 * std::sin(2 * std::numbers::pi * 2.01 * frequency * t);
  return attack * std::exp(-decayPerSecond * t) * tone / 1.25;
}

std::vector<int16_t> Chime() {
  std::vector<int16_t> samples(kChimeFrames);
  for (size_t i = 0; i < samples.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double value = 0.55 * Bell(t, 987.8, 6.0) + 0.55 * Bell(t - 0.32, 784.0, 6.5);
    double fadeOut = std::min(1.0, static_cast<double>(samples.size() - i) / (0.02 * kRate));
    samples[i] = static_cast<int16_t>(std::lround(value * fadeOut * 32767));
  }
  return samples;
}

std::vector<int16_t> Tick() {
  std::vector<int16_t> samples(kTickFrames);
  for (size_t i = 0; i < samples.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double value = 0.6 * Bell(t, 1568.0, 18.0) + 0.25 * Bell(t - 0.12, 1568.0, 22.0);
    double fadeOut = std::min(1.0, static_cast<double>(samples.size() - i) / (0.01 * kRate));
    samples[i] = static_cast<int16_t>(std::lround(value * fadeOut * 32767));
  }
  return samples;
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}
void PutU16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
  out.insert(out.end(), tag, tag + 4);
}

std::vector<uint8_t> WaveFile(const std::vector<int16_t>& samples) {
  auto dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> out;
  PutTag(out, "RIFF");
  PutU32(out, 4 + 8 + 16 + 8 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutU32(out, 16);
  PutU16(out, 1);  // PCM
  PutU16(out, 1);  // mono
  PutU32(out, kRate);
  PutU32(out, kRate * 2);
  PutU16(out, 2);
  PutU16(out, 16);
  PutTag(out, "data");
  PutU32(out, dataBytes);
  for (int16_t sample : samples) PutU16(out, static_cast<uint16_t>(sample));
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || (std::strcmp(argv[1], "chime") != 0 && std::strcmp(argv[1], "tick") != 0)) {
    std::fprintf(stderr, "usage: chime_sounds chime|tick OUT.wav\n");
    return 2;
  }
  auto file = WaveFile(std::strcmp(argv[1], "chime") == 0 ? Chime() : Tick());
  FILE* out = std::fopen(argv[2], "wb");
  if (!out || std::fwrite(file.data(), 1, file.size(), out) != file.size() ||
      std::fclose(out) != 0) {
    std::fprintf(stderr, "chime_sounds: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
