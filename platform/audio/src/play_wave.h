// Plays a RIFF/WAVE file image through the wave output and waits until it has played.
#pragma once

#include <cstdint>
#include <span>

namespace platform {

// False, silently, when the image cannot be parsed or no wave device plays its format.
bool PlayWaveImage(std::span<const uint8_t> image);

}  // namespace platform
