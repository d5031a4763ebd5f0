#include "sound/mixer.h"

#include <algorithm>

#include "machine/alloc.h"

namespace sound {

void MixerInit(SoundMixer& mixer, int samplesPerFrame) {
  const int samples = samplesPerFrame * mixer.outputChannels;
  for (int s = 0; s < mixer.sourceCount; ++s) {
    MixerSource& source = mixer.sources[s];
    source.buffer = static_cast<int16_t*>(machine::AllocZeroed(samples * sizeof(int16_t)));
    source.shift = ShiftByLevel[std::min<int>(source.level, 99) / 10];
  }
}

void MixerFree(SoundMixer& mixer) {
  for (int s = 0; s < mixer.sourceCount; ++s) {
    machine::FreeBlock(mixer.sources[s].buffer);
    mixer.sources[s].buffer = nullptr;
  }
}

// Hot path: one pass per frame over every sample. Sources are summed one after the other into a
// 32-bit accumulator, so each inner loop is a plain vectorisable add.
void MixerMix(const SoundMixer& mixer, int count, int16_t* destination) {
  constexpr int kChunk = 512;
  int32_t sum[kChunk];
  for (int start = 0; start < count; start += kChunk) {
    const int n = std::min(kChunk, count - start);
    std::fill(sum, sum + n, 0);
    for (int s = 0; s < mixer.sourceCount; ++s) {
      const int16_t* in = mixer.sources[s].buffer + start;
      const int shift = mixer.sources[s].shift;
      for (int j = 0; j < n; ++j) sum[j] += static_cast<int32_t>(in[j]) * (1 << shift);
    }
    for (int j = 0; j < n; ++j) {
      // >> on a negative value is an arithmetic shift (rounds toward minus infinity) in C++20.
      destination[start + j] = static_cast<int16_t>(std::clamp(sum[j] >> 3, -32768, 32767));
    }
  }
}

}  // namespace sound
