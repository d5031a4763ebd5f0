// The board's live state: both processors with their memory images and handler tables, the
// latches between them, and the values the game loop shares with the shell. Everything here is
// touched only on the thread that runs the game loop.
#pragma once

#include <cstdint>

#include "sound/psg.h"
#include "z80/z80.h"

namespace machine {

inline constexpr int kHandlerTableEntries = 10;
inline constexpr int kTileCount = 1024;

// The latches and counters between the two processors.
struct MachineLatches {
  uint8_t soundLatch;    // command byte from the main CPU to the sound CPU
  uint8_t nmiEnable;     // last value written to main 0x6801
  uint8_t soundIrqEdge;  // bit 3 of the value last written to main 0x8201 (0 or 0x08)
  uint8_t psgSelect[2];  // register selected on PSG 0 and PSG 1
  uint8_t mainRequest;   // interrupt request bytes of the two processors
  uint8_t soundRequest;
  int32_t soundBudget;  // the sound CPU's budget, published by the core before handler calls
  int32_t timerMark;    // soundBudget at the previous timer read
  uint32_t timerCount;  // sound-CPU T-states seen by the timer port
};

// Game-scoped objects (allocated by the game loop's set-up, released by its tear-down).
inline z80::AddressSpace* MainSpace = nullptr;
inline z80::AddressSpace* SoundSpace = nullptr;
inline z80::MemoryHandler* MainHandlers = nullptr;
inline z80::MemoryHandler* SoundHandlers = nullptr;
inline sound::PsgBlock* Psg = nullptr;

// Program-lifetime state.
inline MachineLatches Latches{};
inline z80::Z80State MainCpu{};
inline z80::Z80State SoundCpu{};
inline uint8_t TileDirty[kTileCount] = {};

// Values shared with the shell, all changed only between frames.
inline uint32_t ControlState = 0;   // held controls, ControlBit values
inline uint32_t FrameCounter = 0;   // frames of the current game
inline uint32_t QuitRequested = 0;  // set by the shell: end the game after this frame
inline uint32_t GameOver = 0;       // set by the game loop on the game-over screen
inline uint32_t HiscoresLoaded = 0;
inline uint32_t ResumeRequested = 0;  // set by the shell: start the game from the resume slot
inline uint32_t StylusSteering = 0;
inline int32_t StylusX = 0;
inline int32_t StylusY = 0;

// Main-memory addresses the board's peripherals read directly.
namespace MainAddress {
inline constexpr uint16_t WorkRam = 0x4000;
inline constexpr uint16_t DisplayedTopScore = 0x40A8;
inline constexpr uint16_t HiscoreTable = 0x4200;
inline constexpr uint16_t VideoRam = 0x4800;
inline constexpr uint16_t AttributeRam = 0x5000;
inline constexpr uint16_t SpriteRam = 0x5040;
inline constexpr uint16_t BulletRam = 0x5060;
inline constexpr uint16_t NmiEnable = 0x6801;
inline constexpr uint16_t StarEnable = 0x6804;
inline constexpr uint16_t InputPorts = 0x8100;
inline constexpr uint16_t SoundCommand = 0x8200;
inline constexpr uint16_t Constant6F = 0x8202;
inline constexpr uint16_t SoundRamStage = 0xF000;  // sound RAM travels here in save states
}  // namespace MainAddress

inline uint8_t* MainMemory() {
  return MainSpace;
}
inline uint8_t* MainTags() {
  return MainSpace + z80::kTagOffset;
}
inline uint8_t* SoundMemory() {
  return SoundSpace;
}
inline uint8_t* SoundTags() {
  return SoundSpace + z80::kTagOffset;
}

}  // namespace machine
