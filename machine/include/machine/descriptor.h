// The static record that describes the board game to the shell.
#pragma once

#include "machine/inputs.h"
#include "platform/types.h"

namespace machine {

struct GameDescriptor {
  LPCWSTR title;     // registry key name and window text
  LPCWSTR fileStem;  // base name of the high-score and save-state files
  void (*gameEntry)();
  DipSetting* dipSettings;
  ControlBinding* controls;
};

// One record, then an all-zero record; the shell uses record 0.
extern const GameDescriptor GameDescriptors[2];

}  // namespace machine
