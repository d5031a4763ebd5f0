#include "machine/inputs.h"

#include <gtest/gtest.h>

#include "machine/board.h"
#include "machine/settings.h"

namespace machine {
namespace {

struct PortCase {
  uint32_t held;
  uint32_t coinage, lives, cabinet;
  uint8_t port0, port1, port2;
};

TEST(InputsTest, PortBytesFromControlsAndDips) {
  using namespace ControlBit;
  const PortCase cases[] = {
      {0, 0, 0, 0, 0xFF, 0xFC, 0xF1},
      {P1Down, 0, 0, 0, 0xFF, 0xFC, 0xB0},
      {P1Up, 0, 0, 0, 0xFE, 0xFC, 0xE1},
      {P1Jump, 0, 0, 0, 0xFD, 0xF8, 0xF1},
      {P1Fire, 0, 0, 0, 0xF7, 0xF4, 0xF1},
      {P1Left | P1Right, 0, 0, 0, 0xCF, 0xCC, 0xF1},
      {Coin1 | Start1 | Start2, 0, 0, 0, 0x7F, 0x3C, 0xF1},
      {0, 0, 3, 0, 0xFF, 0xFF, 0xF1},
      {0, 0, 0, 1, 0xFF, 0xFC, 0xF9},
      {0, 3, 0, 0, 0xFF, 0xFC, 0xF7},
      {0, 0x7, 0x6, 0x3, 0xFF, 0xFE, 0xFF},  // out of range: only the field's bits count
      {P2Up | P2Down | P2Left | P2Right | P2Fire | P2Jump, 0, 0, 0, 0xFF, 0xFC, 0xF1},
  };
  Settings = {};
  GameOver = 0;
  FrameCounter = 1;
  for (const PortCase& c : cases) {
    ControlState = c.held;
    DipSettings[Dip::Coinage].value = c.coinage;
    DipSettings[Dip::Lives].value = c.lives;
    DipSettings[Dip::Cabinet].value = c.cabinet;
    EXPECT_EQ(ComposeInputPort(0), c.port0) << std::hex << c.held;
    EXPECT_EQ(ComposeInputPort(1), c.port1) << std::hex << c.held;
    EXPECT_EQ(ComposeInputPort(2), c.port2) << std::hex << c.held;
  }
  for (DipSetting* dip = DipSettings; dip->label; ++dip) dip->value = 0;
}

TEST(InputsTest, AutofirePulsesOneFrameInFourUntilGameOver) {
  Settings = {};
  Settings.autoFire = 1;
  ControlState = 0;
  GameOver = 0;
  for (uint32_t frame = 0; frame < 9; ++frame) {
    FrameCounter = frame;
    EXPECT_EQ(ComposeInputPort(0), frame % 4 == 0 ? 0xF7 : 0xFF) << frame;
  }
  GameOver = 1;
  for (uint32_t frame = 0; frame < 5; ++frame) {
    FrameCounter = frame;
    EXPECT_EQ(ComposeInputPort(0), 0xFF) << frame;
  }
  ControlState = ControlBit::P1Fire;  // a held key fires on every frame
  FrameCounter = 3;
  EXPECT_EQ(ComposeInputPort(0), 0xF7);
  Settings = {};
  GameOver = 0;
  ControlState = 0;
}

TEST(InputsTest, TablesEndWithEmptyRecords) {
  EXPECT_EQ(ControlBindings[kControlCount].label, nullptr);
  EXPECT_EQ(ControlBindings[4].keyCode, 0x2Cu);
  EXPECT_EQ(ControlBindings[4].bit, ControlBit::P1Fire);
  EXPECT_EQ(DipSettings[kDipCount].label, nullptr);
  EXPECT_EQ(DipSettings[Dip::Cabinet].options[2], nullptr);
}

}  // namespace
}  // namespace machine
