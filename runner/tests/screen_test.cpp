#include "screen.h"

#include <gtest/gtest.h>

#include <vector>

#include "machine/graphics.h"
#include "machine/renderer.h"

namespace runner {
namespace {

class ScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Frame pixel (x, y) holds palette index 1 + (x + y) % 200; index i looks up as colour i.
    bitmap_.assign(machine::kFrameStride * machine::kFrameRows, 0);
    machine::FrameStart = bitmap_.data() + machine::kFrameMarginRows * machine::kFrameStride;
    for (int y = 0; y < machine::kFrameRows - machine::kFrameMarginRows; ++y)
      for (int x = 0; x < machine::kFrameStride; ++x)
        machine::FrameStart[y * machine::kFrameStride + x] =
            static_cast<uint8_t>(1 + (x + y) % 200);
    for (int i = 0; i < 256; ++i) machine::ColourLookup[i] = static_cast<uint16_t>(i);
  }
  void TearDown() override { machine::FrameStart = nullptr; }
  static uint16_t Expected(int x, int y) { return static_cast<uint16_t>(1 + (x + y) % 200); }
  std::vector<uint8_t> bitmap_;
};

TEST_F(ScreenTest, PortraitCentresTheFrameAndNarrowsItFromRow168) {
  DeviceScreen screen(240, 320);
  screen.Present(224, 256);
  auto at = [&](int column, int row) { return screen.pixels()[row * 240 + column]; };
  EXPECT_EQ(at(8, 32), Expected(0, 0));
  EXPECT_EQ(at(231, 287), Expected(223, 255));
  EXPECT_EQ(at(7, 32), 0);
  EXPECT_EQ(at(8, 31), 0);
  EXPECT_EQ(at(8, 288), 0);
}

TEST_F(ScreenTest, LandscapeLeavesThePanelBelowRow168) {
  DeviceScreen screen(320, 240);
  screen.Present(320, 240);
  auto at = [&](int column, int row) { return screen.pixels()[row * 320 + column]; };
  EXPECT_EQ(at(0, 0), Expected(0, 0));
  EXPECT_EQ(at(319, 167), Expected(319, 167));
  EXPECT_EQ(at(223, 168), Expected(223, 168));
  for (int row = 168; row < 240; ++row)
    for (int column = 224; column < 320; ++column) ASSERT_EQ(at(column, row), 0);
}

TEST_F(ScreenTest, ASmallerScreenIsClipped) {
  DeviceScreen screen(176, 220);
  screen.Present(224, 256);  // x0 = -24, y0 = -18
  EXPECT_EQ(screen.pixels()[0], Expected(24, 18));
  EXPECT_EQ(screen.pixels()[219 * 176 + 175], Expected(199, 237));
}

}  // namespace
}  // namespace runner
