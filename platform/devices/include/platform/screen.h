// The device's screen geometry, from its device profile.
//
// VDEVICE_PROFILE  portrait (240 x 320, the default), landscape (320 x 240), square (240 x 240)
//                  or vga (480 x 640); a program may also choose one with SetDeviceProfile.
#pragma once

#include <string_view>

inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;

// Screen width (SM_CXSCREEN) or height (SM_CYSCREEN) of the device profile; 0 for other indices.
int GetSystemMetrics(int index);

namespace platform {

struct DeviceProfile {
  std::string_view name;
  int width;
  int height;
};

// The profile in force: the one set last, else VDEVICE_PROFILE, else portrait.
DeviceProfile CurrentDeviceProfile();

// Chooses a profile by name; false (and no change) for an unknown name.
bool SetDeviceProfile(std::string_view name);

}  // namespace platform
