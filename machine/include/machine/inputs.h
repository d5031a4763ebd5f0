// The board's controls and DIP switches, and the three input ports composed from them.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace machine {

// Bits of ControlState. The ports read only P1Up ... P1Jump; the player-1 controls also feed the
// board's second-player (cocktail) inputs.
namespace ControlBit {
inline constexpr uint32_t P1Up = 0x0001;
inline constexpr uint32_t P1Down = 0x0002;
inline constexpr uint32_t P1Left = 0x0004;
inline constexpr uint32_t P1Right = 0x0008;
inline constexpr uint32_t P1Fire = 0x0010;
inline constexpr uint32_t Coin1 = 0x0020;
inline constexpr uint32_t Start1 = 0x0040;
inline constexpr uint32_t Start2 = 0x0080;
inline constexpr uint32_t P1Jump = 0x0100;
inline constexpr uint32_t P2Up = 0x0200;
inline constexpr uint32_t P2Down = 0x0400;
inline constexpr uint32_t P2Left = 0x0800;
inline constexpr uint32_t P2Right = 0x1000;
inline constexpr uint32_t P2Fire = 0x2000;
inline constexpr uint32_t P2Jump = 0x4000;
}  // namespace ControlBit

// One control the shell can bind to a key; the record number is the N of registry "key%d".
struct ControlBinding {
  LPCWSTR label;
  uint32_t keyCode;  // 16-bit key code; the shell may replace it
  uint32_t bit;      // ControlBit value
};

inline constexpr int kControlCount = 15;
inline constexpr int kMaxDipOptions = 16;

// One DIP setting; its options end at the first null label.
struct DipSetting {
  LPCWSTR label;
  LPCWSTR options[kMaxDipOptions];
  uint32_t value;
};

namespace Dip {
inline constexpr int Coinage = 0;
inline constexpr int Lives = 1;
inline constexpr int Cabinet = 2;
}  // namespace Dip
inline constexpr int kDipCount = 3;

// Fifteen records and an all-zero end record.
extern ControlBinding ControlBindings[kControlCount + 1];
// Three records and an end record with a null label.
extern DipSetting DipSettings[kDipCount + 1];

// The active-low byte of input port 0, 1 or 2 from ControlState, the DIP values, the autofire
// setting, FrameCounter and GameOver. A DIP value outside its options uses only the bits of its
// port field.
uint8_t ComposeInputPort(int port);

}  // namespace machine
