#include "machine/inputs.h"

#include "machine/board.h"
#include "machine/settings.h"

namespace machine {

ControlBinding ControlBindings[kControlCount + 1] = {
    {u"Move Left - 1", 0x4B, ControlBit::P1Left},   {u"Move Down - 1", 0x50, ControlBit::P1Down},
    {u"Move Right - 1", 0x4D, ControlBit::P1Right}, {u"Move Up - 1", 0x48, ControlBit::P1Up},
    {u"Player 1 fire", 0x2C, ControlBit::P1Fire},   {u"Player 1 jump", 0x2D, ControlBit::P1Jump},
    {u"Coin 1", 0x04, ControlBit::Coin1},           {u"1 Player Start", 0x02, ControlBit::Start1},
    {u"2 Player Start", 0x03, ControlBit::Start2},  {u"Move Left - 2", 0x20, ControlBit::P2Left},
    {u"Move Down - 2", 0x21, ControlBit::P2Down},   {u"Move Right - 2", 0x22, ControlBit::P2Right},
    {u"Move Up - 2", 0x12, ControlBit::P2Up},       {u"Player 2 fire", 0x1E, ControlBit::P2Fire},
    {u"Player 2 jump", 0x1F, ControlBit::P2Jump},   {nullptr, 0, 0},
};

DipSetting DipSettings[kDipCount + 1] = {
    {u"Coinage",
     {u"1 coin/1 credit", u"1 coin/2 credits", u"1 coin/3 credits", u"1 coin/4 credits"},
     0},
    {u"Lives", {u"3", u"4", u"5", u"255"}, 0},
    {u"Cabinet", {u"Upright", u"Cocktail"}, 0},
    {nullptr, {}, 0},
};

namespace {

// Active low: the bit reads 0 while the condition holds.
uint8_t Released(bool held, int bit) {
  return held ? 0 : static_cast<uint8_t>(1 << bit);
}

}  // namespace

uint8_t ComposeInputPort(int port) {
  const uint32_t held = ControlState;
  const bool up = held & ControlBit::P1Up;
  const bool down = held & ControlBit::P1Down;
  const bool left = held & ControlBit::P1Left;
  const bool right = held & ControlBit::P1Right;
  const bool jump = held & ControlBit::P1Jump;
  const bool autoFirePulse = Settings.autoFire && (FrameCounter & 3) == 0 && GameOver == 0;
  const bool fire = (held & ControlBit::P1Fire) || autoFirePulse;
  switch (port) {
    case 0:
      return Released(up, 0) | Released(jump, 1) | 0x04 | Released(fire, 3) | Released(right, 4) |
             Released(left, 5) | 0x40 | Released(held & ControlBit::Coin1, 7);
    case 1:
      return static_cast<uint8_t>(DipSettings[Dip::Lives].value & 3) | Released(jump, 2) |
             Released(fire, 3) | Released(right, 4) | Released(left, 5) |
             Released(held & ControlBit::Start2, 6) | Released(held & ControlBit::Start1, 7);
    case 2:
      return Released(down, 0) | static_cast<uint8_t>((DipSettings[Dip::Coinage].value & 3) << 1) |
             static_cast<uint8_t>((DipSettings[Dip::Cabinet].value & 1) << 3) | Released(up, 4) |
             0x20 | Released(down, 6) | 0x80;
    default: return 0xFF;
  }
}

}  // namespace machine
