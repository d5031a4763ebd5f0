// The device screen of a run: what presentation would write into the frame buffer of an
// unrotated display, built from the frame through ColourLookup.
#pragma once

#include <cstdint>
#include <vector>

namespace runner {

class DeviceScreen {
 public:
  DeviceScreen(int width, int height);

  // Writes the width x height area at the frame start, centred; from frame row 168 down only
  // the first 224 columns, as the device does. Parts outside the screen are cut off.
  void Present(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  const uint16_t* pixels() const { return pixels_.data(); }

 private:
  int width_, height_;
  std::vector<uint16_t> pixels_;
};

}  // namespace runner
