// Sound mixer: adds the one-frame sample buffers of several sources into one 16-bit frame,
// each source shifted left by a gain derived from its level, the sum divided by 8 and clamped.
#pragma once

#include <array>
#include <cstdint>

namespace sound {

inline constexpr int kMaxMixerSources = 16;

struct MixerSource {
  uint8_t level;    // 0-99
  uint8_t shift;    // left shift applied to this source's samples, from ShiftByLevel
  int16_t* buffer;  // one frame of samples, filled by the source before each mix
};

struct SoundMixer {
  int32_t sourceCount;
  int32_t outputChannels;
  MixerSource sources[kMaxMixerSources];
};

// Gain shift by level / 10.
inline constexpr std::array<uint8_t, 10> ShiftByLevel = {0, 0, 0, 1, 1, 2, 2, 3, 3, 3};

// Gives every source a zeroed buffer of samplesPerFrame x outputChannels samples and sets its
// shift from its level (levels above 99 count as 99).
void MixerInit(SoundMixer& mixer, int samplesPerFrame);

// Releases every source buffer.
void MixerFree(SoundMixer& mixer);

// Writes count mixed samples: (sum of source samples << shift) >> 3, clamped to 16 bits.
void MixerMix(const SoundMixer& mixer, int count, int16_t* destination);

}  // namespace sound
