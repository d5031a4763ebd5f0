// The game's persisted options, kept by the shell and read by the board.
#pragma once

#include <cstdint>

namespace machine {

struct GameSettings {
  uint32_t soundLevel;  // 0 "Off", 1 "Low", 2 "Med", 3 "High"; others count as the nearest
  uint32_t autoFire;    // non-zero: fire pulses on one frame in four
  uint32_t directionals;
  uint32_t reverseButtons;
  uint32_t autoStart;
  uint32_t startPlayer;
};

inline GameSettings Settings{};

}  // namespace machine
