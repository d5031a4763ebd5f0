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
  const uint8_t* frame = machine::FrameStart;
  const uint16_t* lookup = machine::ColourLookup.data();
  for (int y = std::max(0, -top); y < height && top + y < height_; ++y) {
    const int columns = y >= kNarrowFromRow ? std::min(width, machine::kGameWidth) : width;
    const int first = std::max(0, -left);
    const int end = std::min(columns, width_ - left);
    const uint8_t* source = frame + y * machine::kFrameStride;
    uint16_t* target = pixels_.data() + static_cast<size_t>(top + y) * width_ + left;
    for (int x = first; x < end; ++x) target[x] = lookup[source[x]];
  }
}

}  // namespace runner
