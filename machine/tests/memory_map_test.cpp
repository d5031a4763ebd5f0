#include "machine/memory_map.h"

#include "board_fixture.h"

namespace machine {
namespace {

class MemoryMapTest : public BoardTest {
 protected:
  void SetUp() override {
    BoardTest::SetUp();
    ASSERT_TRUE(Start(testing::ProgramImage()));
    std::fill(std::begin(TileDirty), std::end(TileDirty), 0);
  }
  int DirtyCount() {
    return static_cast<int>(std::count(std::begin(TileDirty), std::end(TileDirty), 1));
  }
  void MainWrite(uint16_t address, uint8_t value) {
    const uint8_t tag = MainTags()[address];
    if (tag == z80::TAG_READ_ONLY) return;
    if (tag & z80::TAG_WRITE_TRAP) {
      MainHandlers[tag & z80::TAG_INDEX_MASK].write(address, value, tag & z80::TAG_INDEX_MASK,
                                                    nullptr);
    } else {
      MainMemory()[address] = value;
    }
  }
};

TEST_F(MemoryMapTest, TagsFollowTheMap) {
  const std::pair<uint16_t, uint8_t> cases[] = {
      {0x0000, 0xBF}, {0x3FFF, 0xBF}, {0x4000, 0x00}, {0x4800, 0x80}, {0x4BFF, 0x80},
      {0x4C00, 0x00}, {0x5000, 0x81}, {0x503F, 0x81}, {0x5040, 0x00}, {0x6801, 0x84},
      {0x6804, 0x00}, {0x8100, 0x42}, {0x8102, 0x42}, {0x8103, 0x00}, {0x8200, 0x83},
      {0x8201, 0x83}, {0x8202, 0xBF}, {0xF000, 0x00},
  };
  for (auto [address, tag] : cases) EXPECT_EQ(MainTags()[address], tag) << std::hex << address;
  EXPECT_EQ(SoundTags()[0x0000], 0xBF);
  EXPECT_EQ(SoundTags()[0x0080], 0xBF);
  EXPECT_EQ(SoundTags()[0x17FF], 0xBF);
  EXPECT_EQ(SoundTags()[0x1800], 0x00);
  EXPECT_EQ(MainMemory()[0x8202], 0x6F);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(MainMemory()) + 0x6D, 6), "TAVRIK");
  EXPECT_EQ(MainMemory()[0x00E1], 0x3E);
  EXPECT_EQ(MainMemory()[0x00E2], 0x7F);
}

TEST_F(MemoryMapTest, VideoRamMarksOnlyChangedCells) {
  MainWrite(0x4805, 0x00);  // equal to what is there
  EXPECT_EQ(DirtyCount(), 0);
  MainWrite(0x4805, 0x42);
  EXPECT_EQ(DirtyCount(), 1);
  EXPECT_EQ(TileDirty[5], 1);
  EXPECT_EQ(MainMemory()[0x4805], 0x42);
}

TEST_F(MemoryMapTest, ColourMarksItsBandAndScrollMarksNothing) {
  MainWrite(0x5002, 0x33);  // scroll of band 1
  EXPECT_EQ(DirtyCount(), 0);
  EXPECT_EQ(MainMemory()[0x5002], 0x33);
  MainWrite(0x5003, 0x05);  // colour of band 1
  EXPECT_EQ(DirtyCount(), 32);
  for (int cell = 1; cell < 1024; cell += 32) EXPECT_EQ(TileDirty[cell], 1) << cell;
  std::fill(std::begin(TileDirty), std::end(TileDirty), 0);
  MainWrite(0x5003, 0x05);
  EXPECT_EQ(DirtyCount(), 0);
}

TEST_F(MemoryMapTest, ReadOnlyAddressesKeepTheirBytes) {
  MainWrite(0x0010, 0x99);
  MainWrite(0x8202, 0x00);
  EXPECT_EQ(MainMemory()[0x0010], 0x00);
  EXPECT_EQ(MainMemory()[0x8202], 0x6F);
}

TEST_F(MemoryMapTest, SoundInterruptIsRaisedOnRisingEdgesOnly) {
  Latches.soundIrqEdge = 0;
  Latches.soundRequest = 0;
  MainWrite(0x8200, 0x2A);
  EXPECT_EQ(Latches.soundLatch, 0x2A);
  EXPECT_EQ(MainMemory()[0x8200], 0x00);  // never stored
  MainWrite(0x8201, 0x08);
  MainWrite(0x8201, 0x08);
  EXPECT_EQ(Latches.soundRequest, z80::Z80_REQ_IRQ);
  Latches.soundRequest = 0;  // accepted by the sound CPU
  MainWrite(0x8201, 0x08);
  EXPECT_EQ(Latches.soundRequest, 0);
  MainWrite(0x8201, 0x00);
  MainWrite(0x8201, 0x08);
  EXPECT_EQ(Latches.soundRequest, z80::Z80_REQ_IRQ);
}

TEST_F(MemoryMapTest, NmiEnableIsStoredAndLatched) {
  MainWrite(0x6801, 0x01);
  EXPECT_EQ(Latches.nmiEnable, 1);
  EXPECT_EQ(MainMemory()[0x6801], 1);
}

TEST_F(MemoryMapTest, SoundPortsSelectAndReachTheGenerators) {
  SoundPortWriter(0x40, 0x1E, 0, nullptr);  // register 14 of PSG 0
  EXPECT_EQ(Latches.psgSelect[0], 14);
  Latches.soundLatch = 0x77;
  EXPECT_EQ(SoundPortReader(0x80, 0, 0), 0x77);
  SoundPortWriter(0x10, 0x08, 0, nullptr);
  SoundPortWriter(0x20, 0x0C, 0, nullptr);
  EXPECT_EQ(Psg->chips[1].regs[8], 0x0C);
  EXPECT_EQ(SoundPortReader(0x20, 0, 0), 0x0C);
  EXPECT_EQ(SoundPortReader(0x30, 0, 0), 0);
  EXPECT_EQ(SoundPortReader(0x10, 0, 0), 0);
}

TEST_F(MemoryMapTest, TimerStepsEvery512TStatesAndWraps) {
  SoundPortWriter(0x40, 15, 0, nullptr);
  Latches.timerCount = 0;
  Latches.soundBudget = Latches.timerMark = kSoundSliceTStates;
  auto readAt = [](int32_t budget) {
    Latches.soundBudget = budget;
    return SoundPortReader(0x80, budget, 0);
  };
  EXPECT_EQ(readAt(14914), SoundTimerTable[0]);
  EXPECT_EQ(readAt(14914 - 511), SoundTimerTable[0]);
  EXPECT_EQ(readAt(14914 - 512), SoundTimerTable[1]);
  EXPECT_EQ(readAt(14914 - 1024), SoundTimerTable[2]);
  Latches.timerCount = 9 * 512;
  Latches.soundBudget = Latches.timerMark = 1000;
  EXPECT_EQ(readAt(1000), SoundTimerTable[9]);
  EXPECT_EQ(readAt(1000 - 512), SoundTimerTable[0]);
}

TEST_F(MemoryMapTest, MainCpuPortsHaveNoDevices) {
  EXPECT_EQ(MainHandlers[0].read(0x10, 0, 0), 0xFF);
  MainHandlers[0].write(0x05, 0x99, 0, nullptr);  // OUT (0x05),A
  EXPECT_EQ(MainMemory()[0x05], 0x00);
  EXPECT_EQ(DirtyCount(), 0);
}

}  // namespace
}  // namespace machine
