#include "machine/game_loop.h"

#include <cstring>
#include <fstream>
#include <vector>

#include "board_fixture.h"
#include "machine/program_image.h"
#include "machine/renderer.h"
#include "sound/wave_output.h"

namespace machine {
namespace {

std::vector<std::pair<int, int>> presented;
int invalidations = 0;
int pacingStarts = 0;

void RecordPresent(int width, int height) {
  presented.emplace_back(width, height);
}
void RecordInvalidate() {
  ++invalidations;
}
void RecordPacingStart(int) {
  ++pacingStarts;
}

class GameLoopTest : public BoardTest {
 protected:
  void SetUp() override {
    BoardTest::SetUp();
    presented.clear();
    invalidations = 0;
    pacingStarts = 0;
    Hooks.presentFrame = RecordPresent;
    Hooks.invalidateWindow = RecordInvalidate;
    Hooks.pacingStart = RecordPacingStart;
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

TEST_F(GameLoopTest, StartPhaseProducesNoOutputThenFrame201IsShown) {
  ASSERT_TRUE(Start(testing::DemoImage()));
  EXPECT_EQ(pacingStarts, 1);
  RunFrames(201);
  EXPECT_TRUE(presented.empty());
  EXPECT_EQ(sound::RingSlot, 0);
  RunFrames(1);
  ASSERT_EQ(presented.size(), 1u);
  EXPECT_EQ(presented[0], std::make_pair(224, 256));
  EXPECT_EQ(sound::RingSlot, 1);
  EXPECT_EQ(FrameCounter, 202u);
  // The tone: the first mixed frame is not silent.
  const auto* samples = reinterpret_cast<const int16_t*>(sound::WaveRing);
  EXPECT_TRUE(std::any_of(samples, samples + kSamplesPerFrame, [](int16_t s) { return s != 0; }));
}

TEST_F(GameLoopTest, FrameInterruptSoundCommandAndInputsReachThePrograms) {
  ASSERT_TRUE(Start(testing::DemoImage()));
  RunFrames(4);  // the program's set-up takes a frame and a half
  const uint8_t interrupts = MainMemory()[0x4001];
  EXPECT_GT(interrupts, 0);
  RunFrames(2);
  EXPECT_EQ(MainMemory()[0x4001], interrupts + 2);
  EXPECT_EQ(SoundMemory()[0x8000], 5);  // the sound CPU read the command through register 14
  EXPECT_EQ(Psg->chips[0].regs[7], 0x3E);
  ControlState = ControlBit::P1Left;
  RunFrames(1);
  EXPECT_EQ(MainMemory()[0x4000], 0xDF);
}

TEST_F(GameLoopTest, SoundLevelOffMakesNoSoundButKeepsTheOutputOpen) {
  Settings.soundLevel = 0;
  ASSERT_TRUE(Start(testing::DemoImage()));
  RunFrames(220);
  EXPECT_EQ(sound::RingSlot, 0);
  EXPECT_NE(sound::WaveRing, nullptr);
  EXPECT_EQ(presented.size(), 19u);
}

TEST_F(GameLoopTest, SoundLevelsOutsideTheRangeCountAsTheNearest) {
  Settings.soundLevel = 7;
  EXPECT_EQ(CurrentSoundLevel(), 3);
  Settings.soundLevel = 2;
  EXPECT_EQ(CurrentSoundLevel(), 2);
}

TEST_F(GameLoopTest, SkippedVideoRendersAndPresentsNothing) {
  ASSERT_TRUE(Start(testing::DemoImage()));
  RunFrames(201);
  SkipNextVideo = 1;
  RunFrames(2);
  EXPECT_TRUE(presented.empty());
  EXPECT_EQ(sound::RingSlot, 2);
}

TEST_F(GameLoopTest, LayoutsChooseThePresentedArea) {
  const std::pair<const char*, std::pair<int, int>> cases[] = {
      {"portrait", {224, 256}}, {"landscape", {320, 240}}, {"square", {240, 240}}};
  ASSERT_TRUE(Start(testing::DemoImage()));
  RunFrames(201);
  for (const auto& [profile, area] : cases) {
    platform::SetDeviceProfile(profile);
    presented.clear();
    uint8_t* const frameStart = FrameStart;
    RunFrames(1);
    ASSERT_EQ(presented.size(), 1u);
    EXPECT_EQ(presented[0], area) << profile;
    EXPECT_EQ(FrameStart, frameStart);
  }
}

TEST_F(GameLoopTest, GameOverScreenIsReportedOnce) {
  ASSERT_TRUE(Start(testing::DemoImage()));
  RunFrames(201);
  MainMemory()[0x4A96] = 0x17;
  MainMemory()[0x4A76] = 0x11;
  RunFrames(3);
  EXPECT_EQ(GameOver, 1u);
  EXPECT_EQ(invalidations, 1);
}

TEST_F(GameLoopTest, StylusSteersTheShipWithADeadZone) {
  ASSERT_TRUE(Start(testing::DemoImage()));
  RunFrames(3);
  StylusSteering = 1;
  ControlState = ControlBit::P1Up | ControlBit::P1Left | ControlBit::P1Fire;
  // The frame step moves the ship one pixel right before steering looks at it.
  const uint8_t* ship = MainMemory() + MainAddress::SpriteRam;
  RunFrames(1);
  StylusX = ship[0] - 8;
  StylusY = 32 + ship[3] + 8;
  MainMemory()[MainAddress::SpriteRam] -= 1;  // undo the next frame's move
  ControlState |= ControlBit::P1Up | ControlBit::P1Left;
  RunFrames(1);
  EXPECT_EQ(ControlState, ControlBit::P1Fire);
  StylusX += 10;
  StylusY -= 3;
  MainMemory()[MainAddress::SpriteRam] -= 1;
  RunFrames(1);
  EXPECT_EQ(ControlState, ControlBit::P1Fire | ControlBit::P1Right);
}

TEST_F(GameLoopTest, HiscoreFileIsTakenOverAndWrittenBack) {
  testing::ProgramImage image = testing::DemoImage();
  // Right after start the program writes its initial table: 00 00 01 00 at 0x4200.
  image.PutMain(testing::kDemoIdleAddress, {0x3E, 0x01, 0x32, 0x02, 0x42, 0x18, 0xFE});
  std::vector<uint8_t> file(30, 0);
  file[0] = 0x50, file[1] = 0x34, file[2] = 0x12;
  WriteFile("vortekan.hi", file);
  ASSERT_TRUE(Start(image));
  RunFrames(4);
  EXPECT_EQ(HiscoresLoaded, 1u);
  EXPECT_EQ(MainMemory()[0x40A8], 0x50);
  EXPECT_EQ(MainMemory()[0x40AA], 0x12);
  EXPECT_EQ(MainMemory()[0x4202], 0x12);
  MainMemory()[0x4200] = 0x90;
  GameTearDown();
  const std::vector<uint8_t> saved = ReadFile("vortekan.hi");
  ASSERT_EQ(saved.size(), 30u);
  EXPECT_EQ(saved[0], 0x90);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "vortekan.sv6"));
}

TEST_F(GameLoopTest, WithoutTheInitialTableNoHiscoreFileIsWritten) {
  ASSERT_TRUE(Start(testing::DemoImage()));
  RunFrames(10);
  GameTearDown();
  EXPECT_FALSE(std::filesystem::exists(dir_ / "vortekan.hi"));
  EXPECT_TRUE(std::filesystem::exists(dir_ / "vortekan.sv6"));
}

TEST_F(GameLoopTest, ResumeStartsFromTheSavedStateAtFrame201) {
  ASSERT_TRUE(Start(testing::DemoImage()));
  RunFrames(250);
  const uint8_t shipX = MainMemory()[MainAddress::SpriteRam];
  GameTearDown();
  ResumeRequested = 1;
  ASSERT_TRUE(Start(testing::DemoImage()));
  EXPECT_EQ(ResumeRequested, 0u);
  EXPECT_EQ(FrameCounter, kStartFrames);
  EXPECT_EQ(MainMemory()[MainAddress::SpriteRam], shipX);
  presented.clear();
  RunFrames(1);
  EXPECT_EQ(presented.size(), 1u);
}

TEST_F(GameLoopTest, RunGameEndsWhenQuitIsRequested) {
  testing::UseProgramImageResource(testing::PackResource(testing::DemoImage().bytes));
  Hooks.pacingEndFrame = [] {
    if (FrameCounter == 205) QuitRequested = 1;
  };
  RunGame();
  EXPECT_EQ(FrameCounter, 206u);
  EXPECT_EQ(MainSpace, nullptr);
  EXPECT_EQ(FrameBitmap, nullptr);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "vortekan.sv6"));
}

TEST_F(GameLoopTest, MissingOrDamagedImageEndsCleanlyWithAMessage) {
  const std::vector<uint8_t> good = testing::PackResource(testing::DemoImage().bytes);
  std::vector<uint8_t> badStream = good;
  for (size_t i = 12; i < badStream.size(); i += 7) badStream[i] ^= 0x5A;
  std::vector<uint8_t> cutStream(good.begin(), good.begin() + good.size() / 2);
  cutStream[4] = static_cast<uint8_t>(cutStream.size() - 8);
  cutStream[5] = static_cast<uint8_t>((cutStream.size() - 8) >> 8);
  std::vector<uint8_t> sizeTooLarge = good;
  sizeTooLarge[7] = 0x7F;
  const std::vector<std::vector<uint8_t>> cases = {
      {},        {1, 2, 3},    badStream,
      cutStream, sizeTooLarge, std::vector<uint8_t>(good.begin(), good.begin() + 8)};
  for (const auto& resource : cases) {
    testing::UseProgramImageResource(resource);
    ::testing::internal::CaptureStderr();
    RunGame();
    const std::string shown = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(shown.find("missing or damaged"), std::string::npos) << resource.size();
    EXPECT_EQ(MainSpace, nullptr);
    EXPECT_EQ(FrameBitmap, nullptr);
    EXPECT_TRUE(std::filesystem::is_empty(dir_)) << resource.size();
  }
}

TEST_F(GameLoopTest, AShortStreamLeavesTheRestOfTheImageZero) {
  testing::ProgramImage image = testing::DemoImage();
  std::vector<uint8_t> shortImage(image.bytes.begin(), image.bytes.begin() + 0x4000);
  std::vector<uint8_t> resource = testing::PackResource(shortImage);
  resource[0] = kProgramImageBytes & 0xFF;  // the header still says the full size
  resource[1] = kProgramImageBytes >> 8;
  testing::UseProgramImageResource(resource);
  ASSERT_TRUE(GameSetUp());
  EXPECT_EQ(SoundMemory()[0x0000], 0x00);
  EXPECT_EQ(MainMemory()[0x0001], 0x31);
}

}  // namespace
}  // namespace machine
