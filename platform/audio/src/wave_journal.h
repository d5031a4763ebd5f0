// Appends to the per-process journal of the wave output (read through platform/audio.h).
#pragma once

#include "platform/audio.h"

namespace platform {

void RecordWaveOutEvent(const WaveOutEvent& event);

}  // namespace platform
