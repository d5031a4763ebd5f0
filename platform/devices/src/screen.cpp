#include "platform/screen.h"

#include <array>
#include <cstdlib>
#include <optional>

namespace platform {
namespace {

constexpr std::array<DeviceProfile, 4> kProfiles = {{
    {"portrait", 240, 320},
    {"landscape", 320, 240},
    {"square", 240, 240},
    {"vga", 480, 640},
}};

std::optional<DeviceProfile> FindProfile(std::string_view name) {
  for (const auto& profile : kProfiles)
    if (profile.name == name) return profile;
  return std::nullopt;
}

std::optional<DeviceProfile> chosen;

}  // namespace

DeviceProfile CurrentDeviceProfile() {
  if (chosen) return *chosen;
  const char* env = std::getenv("VDEVICE_PROFILE");
  if (env) {
    if (auto profile = FindProfile(env)) return *profile;
  }
  return kProfiles[0];
}

bool SetDeviceProfile(std::string_view name) {
  auto profile = FindProfile(name);
  if (profile) chosen = profile;
  return profile.has_value();
}

}  // namespace platform

int GetSystemMetrics(int index) {
  const platform::DeviceProfile profile = platform::CurrentDeviceProfile();
  switch (index) {
    case SM_CXSCREEN: return profile.width;
    case SM_CYSCREEN: return profile.height;
    default: return 0;
  }
}
