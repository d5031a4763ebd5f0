#include "input_script.h"

#include <gtest/gtest.h>

#include <sstream>

#include "machine/board.h"
#include "machine/inputs.h"
#include "machine/settings.h"

namespace runner {
namespace {

std::optional<std::vector<ScriptAction>> Parse(const std::string& text, std::string& error) {
  std::istringstream in(text);
  return ParseInputScript(in, "s.txt", error);
}

TEST(InputScriptTest, ParsesEveryActionAndAppliesIt) {
  std::string error;
  const auto actions = Parse(
      "# start a game\n"
      "\n"
      "10 press coin   # insert a coin\n"
      "12 release coin\n"
      "20 press start1 left fire\n"
      "30 dip lives 3\n"
      "31 dip cabinet 1\n"
      "40 autofire on\n"
      "50 sound 0\n"
      "60 stylus 120 200\n"
      "70 stylus off\n",
      error);
  ASSERT_TRUE(actions) << error;
  ASSERT_EQ(actions->size(), 9u);
  EXPECT_EQ((*actions)[0].frame, 10u);
  EXPECT_EQ((*actions)[2].bits, machine::ControlBit::Start1 | machine::ControlBit::P1Left |
                                    machine::ControlBit::P1Fire);

  machine::ControlState = 0;
  machine::Settings = {};
  for (const ScriptAction& action : *actions) {
    ApplyScriptAction(action);
    if (action.frame == 10) {
      EXPECT_EQ(machine::ControlState, machine::ControlBit::Coin1);
    }
    if (action.frame == 60) {
      EXPECT_EQ(machine::StylusSteering, 1u);
      EXPECT_EQ(machine::StylusX, 120);
      EXPECT_EQ(machine::StylusY, 200);
    }
  }
  EXPECT_EQ(machine::DipSettings[machine::Dip::Lives].value, 3u);
  EXPECT_EQ(machine::DipSettings[machine::Dip::Cabinet].value, 1u);
  EXPECT_EQ(machine::Settings.autoFire, 1u);
  EXPECT_EQ(machine::Settings.soundLevel, 0u);
  EXPECT_EQ(machine::StylusSteering, 0u);
  for (machine::DipSetting* dip = machine::DipSettings; dip->label; ++dip) dip->value = 0;
  machine::Settings = {};
  machine::ControlState = 0;
}

TEST(InputScriptTest, ReportsTheLineOfAMistake) {
  const std::pair<std::string, std::string> cases[] = {
      {"press up\n", "s.txt:1: expected a frame number"},
      {"1 press up\n2 press sideways\n", "s.txt:2: unknown control 'sideways'"},
      {"5 press\n", "s.txt:1: expected at least one control"},
      {"5 dip speed 1\n", "s.txt:1: expected coinage, lives or cabinet"},
      {"5 dip lives x\n", "s.txt:1: expected a DIP value"},
      {"5 autofire maybe\n", "s.txt:1: expected on or off"},
      {"5 sound 4\n", "s.txt:1: expected a sound level 0-3"},
      {"5 stylus 10\n", "s.txt:1: expected stylus X Y or stylus off"},
      {"5 jump\n", "s.txt:1: unknown action 'jump'"},
      {"5 sound 1 loud\n", "s.txt:1: unexpected 'loud'"},
      {"-5 press up\n", "s.txt:1: expected a frame number"},
  };
  for (const auto& [text, message] : cases) {
    std::string error;
    EXPECT_FALSE(Parse(text, error)) << text;
    EXPECT_EQ(error, message) << text;
  }
}

}  // namespace
}  // namespace runner
