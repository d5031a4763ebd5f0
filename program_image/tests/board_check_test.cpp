// The main program's start-up check, run on a bare processor with nothing but memory: it goes on
// only when 0x00E1 holds the board's patch (LD A,0x7F) and 0x8202 reads 0x6F, and otherwise
// shows the board-fault screen and stops.
#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "z80/z80.h"

namespace {

std::vector<uint8_t> MainProgram() {
  std::ifstream in(VORTEKAN_IMAGE_FILE, std::ios::binary);
  std::vector<uint8_t> resource{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
  if (resource.size() < 8) return {};
  uLongf size = resource[0] | resource[1] << 8 | resource[2] << 16 | resource[3] << 24;
  std::vector<uint8_t> image(size);
  if (uncompress(image.data(), &size, resource.data() + 8, resource.size() - 8) != Z_OK) return {};
  image.resize(0x4000);
  return image;
}

// Text of a band from column 0, in the board's text codes.
std::string BandText(const uint8_t* memory, int band, int length) {
  std::string text;
  for (int column = 0; column < length; ++column) {
    uint8_t code = memory[0x4800 + (29 - column) * 32 + band];
    text += code == 0x10 ? ' ' : code >= 0x11 && code <= 0x2A ? char('A' + code - 0x11) : '?';
  }
  return text;
}

TEST(BoardCheck, OnlyThePatchedBoardStartsTheGame) {
  struct Case {
    bool patched;
    uint8_t constant;  // what 0x8202 reads
    bool starts;
  };
  const Case cases[] = {{true, 0x6F, true}, {false, 0x6F, false}, {true, 0x00, false}};
  std::vector<uint8_t> program = MainProgram();
  ASSERT_EQ(program.size(), 0x4000u);
  for (const Case& c : cases) {
    std::vector<uint8_t> space(z80::kAddressSpaceBytes, 0);
    std::copy(program.begin(), program.end(), space.begin());
    // Unpatched, 0x00E1 reads input port 2, which here is plain memory holding 0.
    EXPECT_EQ(space[0x00E1], 0x3A);
    EXPECT_EQ(space[0x00E2], 0x02);
    EXPECT_EQ(space[0x00E3], 0x81);
    if (c.patched) {
      space[0x00E1] = 0x3E, space[0x00E2] = 0x7F, space[0x00E3] = 0x00;
    }
    space[0x8202] = c.constant;
    z80::MemoryHandler handlers[1] = {};
    z80::Z80State cpu{};
    z80::Z80Reset(cpu, 0xFF);
    uint8_t requests = 0;
    for (int frame = 0; frame < 4; ++frame) {
      int32_t budget = 51200;
      z80::Z80Run(space.data(), cpu, handlers, &budget, &requests);
    }
    bool fault_shown = BandText(space.data(), 14, 19) == "        BOARD FAULT";
    EXPECT_EQ(fault_shown, !c.starts)
        << "patched " << c.patched << ", constant " << int(c.constant);
    EXPECT_EQ(space[0x6801] != 0, c.starts) << "frame interrupt enabled";
  }
}

}  // namespace
