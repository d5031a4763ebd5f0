// Scripted input for the runner: one action per line, applied before the frame it names.
//
//   # comment
//   <frame> press <control> [<control> ...]
//   <frame> release <control> [<control> ...]
//   <frame> dip coinage|lives|cabinet <value>
//   <frame> autofire on|off
//   <frame> sound <level 0-3>
//   <frame> stylus <x> <y>        (screen pixels; steers the ship while held)
//   <frame> stylus off
//
// Controls: up down left right fire jump coin start1 start2 (player 1) and p2up p2down p2left
// p2right p2fire p2jump. Frames count from 0, the first frame the runner runs.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace runner {

struct ScriptAction {
  enum class Kind { Press, Release, Dip, AutoFire, SoundLevel, Stylus, StylusOff };
  uint64_t frame;
  Kind kind;
  uint32_t bits = 0;  // Press, Release: ControlBit values
  int dip = 0;        // Dip: index into DipSettings
  int32_t value = 0;  // Dip, AutoFire (0/1), SoundLevel
  int32_t x = 0, y = 0;
};

// The actions in file order, or nothing with "name:line: reason" in error.
std::optional<std::vector<ScriptAction>> ParseInputScript(std::istream& in, const std::string& name,
                                                          std::string& error);

// The ControlBit of a control name, or 0.
uint32_t ControlBitByName(const std::string& name);

// Applies one action to the board's shared values and settings.
void ApplyScriptAction(const ScriptAction& action);

}  // namespace runner
