#include "machine/persistence.h"

#include <cstring>
#include <fstream>
#include <vector>

#include "board_fixture.h"

namespace machine {
namespace {

// An address space with the board's read-only tags and every writable byte set to fill.
std::vector<uint8_t> SpaceFilledWith(uint8_t fill) {
  std::vector<uint8_t> space(z80::kAddressSpaceBytes, 0);
  std::memset(space.data() + 0x4000, fill, 0xC000);
  std::memset(space.data() + z80::kTagOffset, z80::TAG_READ_ONLY, 0x4000);
  space[z80::kTagOffset + 0x8202] = z80::TAG_READ_ONLY;
  space[0x8202] = 0x6F;
  return space;
}

TEST(StateEncodingTest, ZeroRunsAndLiterals) {
  std::vector<uint8_t> zeros = SpaceFilledWith(0);
  std::vector<uint8_t> encoded = EncodeMainMemory(zeros.data());
  ASSERT_EQ(encoded.size(), 2u * 192);
  for (size_t i = 0; i < 191; ++i) {
    ASSERT_EQ(encoded[2 * i], 0x00);
    ASSERT_EQ(encoded[2 * i + 1], 0xFF);
  }
  EXPECT_EQ(encoded[382], 0x00);
  EXPECT_EQ(encoded[383], 0xFE);

  struct Case {
    std::vector<uint8_t> memory;  // at 0x4000, the rest 0x11
    std::vector<uint8_t> prefix;
  };
  std::vector<uint8_t> runThenLiteral(256, 0);
  runThenLiteral.push_back(0x07);
  const Case cases[] = {
      {{0x00, 0x05, 0x00}, {0x00, 0x00, 0x05, 0x00, 0x00, 0x11}},
      {runThenLiteral, {0x00, 0xFF, 0x07, 0x11}},
      {{0x00, 0x00, 0x00, 0x09}, {0x00, 0x02, 0x09, 0x11}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> space = SpaceFilledWith(0x11);
    std::copy(c.memory.begin(), c.memory.end(), space.begin() + 0x4000);
    encoded = EncodeMainMemory(space.data());
    ASSERT_GE(encoded.size(), c.prefix.size());
    EXPECT_EQ(std::vector<uint8_t>(encoded.begin(), encoded.begin() + c.prefix.size()), c.prefix);
    std::vector<uint8_t> decoded = SpaceFilledWith(0x55);
    DecodeMainMemory(encoded.data(), encoded.size(), decoded.data());
    EXPECT_EQ(decoded, space);
  }
}

TEST(StateEncodingTest, LongestEncodingAndShortInput) {
  std::vector<uint8_t> alternating = SpaceFilledWith(0);
  int writable = 0;
  for (uint32_t a = 0x4000; a < 0x10000; ++a)
    if (alternating[z80::kTagOffset + a] != z80::TAG_READ_ONLY)
      alternating[a] = writable++ % 2 ? 0x80 : 0x00;
  EXPECT_EQ(writable, static_cast<int>(kSavedMemoryBytes));
  const std::vector<uint8_t> encoded = EncodeMainMemory(alternating.data());
  EXPECT_EQ(encoded.size(), kMaxEncodedMemoryBytes);

  // A cut-off stream decodes as zeros, and a final 0x00 without its count reads nothing more.
  const uint8_t cut[] = {0x00, 0x02, 0x09, 0x00};
  std::vector<uint8_t> decoded = SpaceFilledWith(0x55);
  DecodeMainMemory(cut, sizeof cut, decoded.data());
  EXPECT_EQ(decoded[0x4000], 0);
  EXPECT_EQ(decoded[0x4002], 0);
  EXPECT_EQ(decoded[0x4003], 0x09);
  EXPECT_EQ(decoded[0x4004], 0);
  EXPECT_EQ(decoded[0xFFFF], 0);
  EXPECT_EQ(decoded[0x8202], 0x6F);
}

class PersistenceTest : public BoardTest {
 protected:
  void SetUp() override {
    BoardTest::SetUp();
    ASSERT_TRUE(Start(testing::DemoImage()));
  }
  void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream(dir_ / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  std::vector<uint8_t> ReadFile(const std::string& name) {
    std::ifstream in(dir_ / name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
};

TEST_F(PersistenceTest, StateRoundTripRestoresTheBoard) {
  RunFrames(230);
  std::vector<uint8_t> main(MainMemory(), MainMemory() + 0x10000);
  const z80::Z80State mainCpu = MainCpu, soundCpu = SoundCpu;
  const sound::PsgBlock psg = *Psg;
  const MachineLatches latches = Latches;
  const std::vector<uint8_t> soundRam(SoundMemory() + 0x8000, SoundMemory() + 0x8400);
  ASSERT_EQ(SaveOrLoadState(2, kStateSave), 1);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "vortekan.sv3"));

  RunFrames(40);
  MainMemory()[0x4100] = 0x99;
  SoundMemory()[0x8000] = 0x99;
  std::fill(std::begin(TileDirty), std::end(TileDirty), 0);
  HiscoresLoaded = 0;
  ASSERT_EQ(SaveOrLoadState(2, kStateLoad), 1);
  // The staging area carries the sound RAM; everything else must match.
  std::copy(MainMemory() + 0xF000, MainMemory() + 0xF200, main.begin() + 0xF000);
  EXPECT_TRUE(std::equal(main.begin(), main.end(), MainMemory()));
  EXPECT_TRUE(std::equal(soundRam.begin(), soundRam.begin() + 0x100, SoundMemory() + 0x8000));
  EXPECT_TRUE(std::equal(soundRam.begin() + 0x300, soundRam.end(), SoundMemory() + 0x8300));
  EXPECT_EQ(std::memcmp(&MainCpu, &mainCpu, sizeof mainCpu), 0);
  EXPECT_EQ(std::memcmp(&SoundCpu, &soundCpu, sizeof soundCpu), 0);
  EXPECT_EQ(std::memcmp(Psg, &psg, sizeof psg), 0);
  EXPECT_EQ(Latches.soundLatch, latches.soundLatch);
  EXPECT_EQ(Latches.nmiEnable, latches.nmiEnable);
  EXPECT_EQ(HiscoresLoaded, 1u);
  EXPECT_EQ(TileDirty[0], 1);
  EXPECT_EQ(TileDirty[1023], 1);
}

TEST_F(PersistenceTest, LoadingAMissingFileChangesNothing) {
  RunFrames(5);
  const std::vector<uint8_t> before(MainMemory(), MainMemory() + 0x10000);
  EXPECT_EQ(SaveOrLoadState(0, kStateLoad), 0);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), MainMemory()));
  EXPECT_EQ(SaveOrLoadState(9, kStateLoad), 0);
}

TEST_F(PersistenceTest, ShortOrDamagedFilesLoadWhatTheyHoldAndTheBoardRunsOn) {
  std::vector<uint8_t> damaged(192 + 583 + 100, 0xFF);
  const std::vector<std::vector<uint8_t>> files = {
      {},
      std::vector<uint8_t>(100, 0xA5),
      damaged,
      std::vector<uint8_t>(192 + 583 + kMaxEncodedMemoryBytes + 5000, 0x01),
  };
  for (const auto& file : files) {
    WriteFile("vortekan.sv1", file);
    EXPECT_EQ(SaveOrLoadState(0, kStateLoad), 1) << file.size();
    EXPECT_LT(Latches.psgSelect[0], 16);
    RunFrames(3);  // past the start phase, rendering and sound run on the loaded state
    FrameCounter = kStartFrames;
    RunFrames(3);
  }
}

TEST_F(PersistenceTest, TheLongestEncodingIsLoadedWhole) {
  int writable = 0;
  for (uint32_t a = 0x4000; a < 0x10000; ++a)
    if (MainTags()[a] != z80::TAG_READ_ONLY && (a < 0xF000 || a >= 0xF200))
      MainMemory()[a] = writable++ % 2 ? 0x80 : 0x00;
  const std::vector<uint8_t> memory(MainMemory(), MainMemory() + 0x10000);
  SaveOrLoadState(1, kStateSave);
  std::fill(MainMemory() + 0x4000, MainMemory() + 0x8000, 0x33);
  ASSERT_EQ(SaveOrLoadState(1, kStateLoad), 1);
  EXPECT_TRUE(std::equal(memory.begin(), memory.begin() + 0xF000, MainMemory()));
  EXPECT_EQ(MainMemory()[0xFFFF], memory[0xFFFF]);
}

TEST_F(PersistenceTest, ResumeSlotNeedsEightBytes) {
  EXPECT_EQ(ResumeSlotExists(), 0);
  WriteFile("vortekan.sv6", std::vector<uint8_t>(7, 1));
  EXPECT_EQ(ResumeSlotExists(), 0);
  WriteFile("vortekan.sv6", std::vector<uint8_t>(8, 1));
  EXPECT_EQ(ResumeSlotExists(), 1);
}

TEST_F(PersistenceTest, HiscoreFileMustHoldTheWholeLength) {
  uint8_t table[30];
  std::memset(table, 0xAA, sizeof table);
  EXPECT_EQ(HiscoreLoad(table, 30), 1);
  WriteFile("vortekan.hi", std::vector<uint8_t>(29, 0x01));
  EXPECT_EQ(HiscoreLoad(table, 30), 1);
  EXPECT_EQ(table[0], 0xAA);
  std::vector<uint8_t> longer(31);
  for (int i = 0; i < 31; ++i) longer[i] = static_cast<uint8_t>(i);
  WriteFile("vortekan.hi", longer);
  EXPECT_EQ(HiscoreLoad(table, 30), 0);
  EXPECT_EQ(table[29], 29);
  uint8_t big[600];
  EXPECT_EQ(HiscoreLoad(big, 600), 1);  // more than the reader's buffer

  HiscoreSave(longer.data() + 1, 30);
  const std::vector<uint8_t> saved = ReadFile("vortekan.hi");
  EXPECT_EQ(saved, std::vector<uint8_t>(longer.begin() + 1, longer.end()));
}

TEST_F(PersistenceTest, HiscoreSaveFailureIsReportedAndChangesNothing) {
  std::filesystem::create_directory(dir_ / "vortekan.hi");  // cannot be opened as a file
  uint8_t table[30] = {};
  ::testing::internal::CaptureStderr();
  HiscoreSave(table, 30);
  const std::string shown = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(shown.find("Error saving hiscore data."), std::string::npos) << shown;
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "vortekan.hi"));
}

}  // namespace
}  // namespace machine
