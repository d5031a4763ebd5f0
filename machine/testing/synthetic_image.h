// Small program images for tests and benchmarks of the board: a few hand-assembled bytes of
// main and sound program, simple graphics and a colour PROM, packed into the resource format.
#pragma once

#include <cstdint>
#include <vector>

namespace machine::testing {

// An inflated program image (kProgramImageBytes) with helpers to place bytes.
struct ProgramImage {
  ProgramImage();
  void PutMain(uint16_t address, std::vector<uint8_t> bytes);
  void PutSound(uint16_t address, std::vector<uint8_t> bytes);
  uint8_t* graphics();  // 0x1000 bytes: plane 0 (pixel bit 1), then plane 1 (pixel bit 0)
  uint8_t* prom();      // 32 bytes

  std::vector<uint8_t> bytes;
};

// The resource format: u32 uncompressed size, u32 compressed size, zlib stream.
std::vector<uint8_t> PackResource(const std::vector<uint8_t>& image);

// Makes resource "BINDATA"/"VORTEKAN" of this process hold the bytes (newest wins).
void UseProgramImageResource(std::vector<uint8_t> resource);

// The demonstration board: boxed characters over all cells with a colour per band, eight
// sprites and eight bullets, the star layer on, a scrolling band and a moving ship driven by the
// frame interrupt, and a steady tone on PSG 0 channel A. The frame interrupt stores input port 0
// at main 0x4000 and counts frames at main 0x4001.
ProgramImage DemoImage();
// Where the demonstration's main program ends in an idle loop, after its set-up.
inline constexpr uint16_t kDemoIdleAddress = 0x0042;

// The demonstration with a main program that never idles: it changes every video cell over and
// over, so each frame runs the whole processor budget and redraws every tile.
ProgramImage BusyImage();

}  // namespace machine::testing
