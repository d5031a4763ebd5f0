#include "screen.h"

#include <algorithm>

#include "machine/graphics.h"
#include "machine/renderer.h"

namespace runner {
namespace {

constexpr int kNarrowFromRow = 168;

}  // namespace

DeviceScreen::DeviceScreen(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, 0) {}

void DeviceScreen::Present(int width, int height) {
  const int left = (width_ - width) / 2;
  const int top = (height_ - height) / 2;
  for (int y = 0; y < height; ++y) {
    const int row = top + y;
    if (row < 0 || row >= height_) continue;
    const int columns = y >= kNarrowFromRow ? std::min(width, machine::kGameWidth) : width;
    const uint8_t* source = machine::FrameStart + y * machine::kFrameStride;
    uint16_t* target = pixels_.data() + static_cast<size_t>(row) * width_;
    for (int x = std::max(0, -left); x < columns && left + x < width_; ++x)
      target[left + x] = machine::ColourLookup[source[x]];
  }
}

}  // namespace runner
