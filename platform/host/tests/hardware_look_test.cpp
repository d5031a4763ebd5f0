#include <gtest/gtest.h>

#include "platform/host.h"

namespace platform::host {
namespace {

TEST(HardwareLook, FollowsTheBacklightAndTheVibrator) {
  struct Case {
    int backlight;
    bool vibrating;
    HardwareLook look;
  };
  const Case cases[] = {
      {0, false, {255, false, ""}},
      {1, false, {160, false, ""}},
      {4, false, {24, false, " (backlight off)"}},
      {2, false, {24, false, " (backlight off)"}},
      {0, true, {255, true, " (vibrating)"}},
      {4, true, {24, true, " (backlight off) (vibrating)"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "D" << c.backlight << (c.vibrating ? " vibrating" : ""));
    EXPECT_EQ(LookOfHardware(c.backlight, c.vibrating), c.look);
  }
}

}  // namespace
}  // namespace platform::host
