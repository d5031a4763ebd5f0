// The wave output: a ring of sixteen mixed frames handed to the device's wave output four frames
// at a time. Opening queues the whole ring as silence, so the output runs 16 frames (about
// 267 ms at 60 frames per second) behind the game.
#pragma once

#include <cstdint>

#include "platform/audio.h"

namespace sound {

inline constexpr int kRingFrames = 16;
inline constexpr int kFramesPerHeader = 4;
inline constexpr int kWaveHeaders = kRingFrames / kFramesPerHeader;

// Wave output state (one instance per process).
inline uint32_t FrameBytes = 0;      // bytes of one frame
inline uint8_t* WaveRing = nullptr;  // kRingFrames x FrameBytes
inline int RingSlot = 0;             // slot that receives the next mixed frame
inline WAVEHDR WaveHeaders[kWaveHeaders] = {};
inline HWAVEOUT WaveDevice = nullptr;

// Allocates the ring, opens wave device 0 and queues the silent ring. Without a device the ring
// is still there and every later call does nothing audible.
void WaveOpen(uint32_t rate, uint32_t bits, uint32_t channels);

// Moves to the next slot; submits the header of the four slots just completed when the new
// slot starts a header.
void WaveAdvance();

// Waits 800 ms for the queued sound, then stops and releases everything WaveOpen made.
void WaveClose();

// The header that the advance to newSlot submits, or -1 when it submits none.
int HeaderCompletedBy(int newSlot);

}  // namespace sound
