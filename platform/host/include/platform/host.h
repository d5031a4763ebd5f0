// The one place that talks to the host system's display and input.
//
// A device screen is an RGB565 frame buffer (one 16-bit pixel per device pixel, rows pitch
// pixels apart). A ScreenWindow shows one in an SDL2 window, scaled by a whole factor, and turns
// the host's keyboard and mouse into device key codes and stylus events (the mouse is the
// stylus, in device pixels). The window also shows the device's hardware as any process of the
// device leaves it: the screen dims with the backlight and shakes while the vibrator runs, and
// the title says so. Without a display, WritePng keeps screenshots of a screen instead.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace platform::host {

// Device virtual-key codes the host produces.
namespace DeviceKey {
inline constexpr uint32_t Return = 0x0D;
inline constexpr uint32_t Escape = 0x1B;
inline constexpr uint32_t Space = 0x20;
inline constexpr uint32_t Left = 0x25;
inline constexpr uint32_t Up = 0x26;
inline constexpr uint32_t Right = 0x27;
inline constexpr uint32_t Down = 0x28;
inline constexpr uint32_t Digit0 = 0x30;   // '0'-'9' are 0x30-0x39
inline constexpr uint32_t LetterA = 0x41;  // 'A'-'Z' are 0x41-0x5A
inline constexpr uint32_t Control = 0x11;
inline constexpr uint32_t Shift = 0x10;
}  // namespace DeviceKey

struct HostEvent {
  enum class Kind { KeyDown, KeyUp, StylusDown, StylusMove, StylusUp, Quit };
  Kind kind;
  uint32_t key = 0;  // KeyDown, KeyUp: DeviceKey code
  int x = 0, y = 0;  // stylus events: device pixels
};

// How the window shows the device's hardware state.
struct HardwareLook {
  uint8_t brightness;  // 255 lit, less when the backlight is dimmed or off
  bool shaking;        // the vibrator runs
  std::string titleSuffix;
  bool operator==(const HardwareLook&) const = default;
};
HardwareLook LookOfHardware(int backlightLevel, bool vibrating);

class ScreenWindow {
 public:
  // Null, with the reason in error, when no window can be opened (no display, no SDL video).
  static std::unique_ptr<ScreenWindow> Open(std::string_view title, int width, int height,
                                            int scale, std::string& error);
  ~ScreenWindow();
  ScreenWindow(const ScreenWindow&) = delete;
  ScreenWindow& operator=(const ScreenWindow&) = delete;

  // Shows the device screen (width x height as opened) as the device's hardware lets it be seen.
  void Show(const uint16_t* pixels, int pitchPixels);

  // The next pending event; false when there is none.
  bool NextEvent(HostEvent& event);

 private:
  struct Impl;
  explicit ScreenWindow(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// Writes a device screen as an 8-bit RGB PNG file. False, with the reason in error and no file
// left behind, when it cannot be written.
bool WritePng(const std::filesystem::path& file, const uint16_t* pixels, int width, int height,
              int pitchPixels, std::string& error);

}  // namespace platform::host
