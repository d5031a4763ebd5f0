#include "platform/screen.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(ScreenTest, ProfilesGiveTheirScreenSizes) {
  setenv("VDEVICE_PROFILE", "landscape", 1);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 240);
  setenv("VDEVICE_PROFILE", "unknown", 1);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 240);  // portrait
  const std::tuple<const char*, int, int> cases[] = {
      {"portrait", 240, 320}, {"landscape", 320, 240}, {"square", 240, 240}, {"vga", 480, 640}};
  for (const auto& [name, width, height] : cases) {
    ASSERT_TRUE(platform::SetDeviceProfile(name));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), width) << name;
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), height) << name;
  }
  EXPECT_FALSE(platform::SetDeviceProfile("tiny"));
  EXPECT_EQ(platform::CurrentDeviceProfile().name, "vga");
  EXPECT_EQ(GetSystemMetrics(42), 0);
  unsetenv("VDEVICE_PROFILE");
}

}  // namespace
