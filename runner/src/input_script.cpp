#include "input_script.h"

#include <sstream>
#include <utility>

#include "machine/board.h"
#include "machine/inputs.h"
#include "machine/settings.h"

namespace runner {
namespace {

using machine::ControlBit::Coin1;
using machine::ControlBit::P1Down;
using machine::ControlBit::P1Fire;
using machine::ControlBit::P1Jump;
using machine::ControlBit::P1Left;
using machine::ControlBit::P1Right;
using machine::ControlBit::P1Up;
using machine::ControlBit::P2Down;
using machine::ControlBit::P2Fire;
using machine::ControlBit::P2Jump;
using machine::ControlBit::P2Left;
using machine::ControlBit::P2Right;
using machine::ControlBit::P2Up;
using machine::ControlBit::Start1;
using machine::ControlBit::Start2;

const std::pair<const char*, uint32_t> kControls[] = {
    {"up", P1Up},         {"down", P1Down},   {"left", P1Left},   {"right", P1Right},
    {"fire", P1Fire},     {"jump", P1Jump},   {"coin", Coin1},    {"start1", Start1},
    {"start2", Start2},   {"p2up", P2Up},     {"p2down", P2Down}, {"p2left", P2Left},
    {"p2right", P2Right}, {"p2fire", P2Fire}, {"p2jump", P2Jump},
};

const std::pair<const char*, int> kDips[] = {
    {"coinage", machine::Dip::Coinage},
    {"lives", machine::Dip::Lives},
    {"cabinet", machine::Dip::Cabinet},
};

bool ReadNumber(std::istringstream& words, int64_t& value) {
  std::string word;
  if (!(words >> word)) return false;
  size_t used = 0;
  try {
    value = std::stoll(word, &used, 0);
  } catch (...) {
    return false;
  }
  return used == word.size();
}

}  // namespace

uint32_t ControlBitByName(const std::string& name) {
  for (const auto& [control, bit] : kControls)
    if (name == control) return bit;
  return 0;
}

std::optional<std::vector<ScriptAction>> ParseInputScript(std::istream& in, const std::string& name,
                                                          std::string& error) {
  std::vector<ScriptAction> actions;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const auto fail = [&](const std::string& reason) {
      error = name + ":" + std::to_string(number) + ": " + reason;
      return std::nullopt;
    };
    if (const size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string verb;
    int64_t frame = 0;
    if (!(words >> std::ws) || words.eof()) continue;
    if (!ReadNumber(words, frame) || frame < 0) return fail("expected a frame number");
    if (!(words >> verb)) return fail("expected an action after the frame number");
    ScriptAction action{static_cast<uint64_t>(frame), ScriptAction::Kind::Press};
    std::string word;
    int64_t value = 0;
    if (verb == "press" || verb == "release") {
      action.kind = verb == "press" ? ScriptAction::Kind::Press : ScriptAction::Kind::Release;
      while (words >> word) {
        const uint32_t bit = ControlBitByName(word);
        if (!bit) return fail("unknown control '" + word + "'");
        action.bits |= bit;
      }
      if (!action.bits) return fail("expected at least one control");
    } else if (verb == "dip") {
      action.kind = ScriptAction::Kind::Dip;
      action.dip = -1;
      if (words >> word) {
        for (const auto& [dip, index] : kDips)
          if (word == dip) action.dip = index;
      }
      if (action.dip < 0) return fail("expected coinage, lives or cabinet");
      if (!ReadNumber(words, value) || value < 0 || value > 0xFFFF)
        return fail("expected a DIP value");
      action.value = static_cast<int32_t>(value);
    } else if (verb == "autofire") {
      action.kind = ScriptAction::Kind::AutoFire;
      if (!(words >> word) || (word != "on" && word != "off")) return fail("expected on or off");
      action.value = word == "on";
    } else if (verb == "sound") {
      action.kind = ScriptAction::Kind::SoundLevel;
      if (!ReadNumber(words, value) || value < 0 || value > 3)
        return fail("expected a sound level 0-3");
      action.value = static_cast<int32_t>(value);
    } else if (verb == "stylus") {
      std::streampos start = words.tellg();
      if (words >> word && word == "off") {
        action.kind = ScriptAction::Kind::StylusOff;
      } else {
        words.clear();
        words.seekg(start);
        int64_t x = 0, y = 0;
        if (!ReadNumber(words, x) || !ReadNumber(words, y) || x < 0 || y < 0 || x > 4096 ||
            y > 4096) {
          return fail("expected stylus X Y or stylus off");
        }
        action.kind = ScriptAction::Kind::Stylus;
        action.x = static_cast<int32_t>(x);
        action.y = static_cast<int32_t>(y);
      }
    } else {
      return fail("unknown action '" + verb + "'");
    }
    if (words >> word) return fail("unexpected '" + word + "'");
    actions.push_back(action);
  }
  return actions;
}

void ApplyScriptAction(const ScriptAction& action) {
  switch (action.kind) {
    case ScriptAction::Kind::Press: machine::ControlState |= action.bits; break;
    case ScriptAction::Kind::Release: machine::ControlState &= ~action.bits; break;
    case ScriptAction::Kind::Dip:
      machine::DipSettings[action.dip].value = static_cast<uint32_t>(action.value);
      break;
    case ScriptAction::Kind::AutoFire:
      machine::Settings.autoFire = static_cast<uint32_t>(action.value);
      break;
    case ScriptAction::Kind::SoundLevel:
      machine::Settings.soundLevel = static_cast<uint32_t>(action.value);
      break;
    case ScriptAction::Kind::Stylus:
      machine::StylusSteering = 1;
      machine::StylusX = action.x;
      machine::StylusY = action.y;
      break;
    case ScriptAction::Kind::StylusOff: machine::StylusSteering = 0; break;
  }
}

}  // namespace runner
