// The game program on the emulated board, driven through the headless runner with scripted input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "board_run.h"

namespace vortekan_test {
namespace {

constexpr uint16_t kNmiEnable = 0x6801;
constexpr uint16_t kHiscoreTable = 0x4200;
constexpr uint16_t kTopScore = 0x40A8;
constexpr uint16_t kShipX = 0x5040;  // sprite 0, byte 0
constexpr uint16_t kShipY = 0x5043;  // sprite 0, byte 3
constexpr uint16_t kBulletRam = 0x5060;
constexpr uint16_t kGameOverG = 0x4A96;
constexpr uint16_t kGameOverA = 0x4A76;
constexpr uint8_t kCodeG = 0x17;
constexpr uint8_t kCodeA = 0x11;
// Save-state offsets of the R register in the main and the sound processor's stored context.
constexpr size_t kMainRefreshOffset = 165;
constexpr size_t kSoundRefreshOffset = 192 + 199 + 165;

// A coin and player one's start, after the runner's silent first 201 frames; the ship is under
// control from frame 341.
const char* const kCoinAndStart =
    "210 press coin\n216 release coin\n230 press start1\n236 release start1\n";
constexpr uint64_t kShipReady = 360;

bool GameOverShown(const MainMemory& m) {
  return m[kGameOverG] == kCodeG && m[kGameOverA] == kCodeA;
}

// Climbs into the first hazard lane every 50 frames and waits there: the three ships are lost by
// frame 1000 (at frames 533, 743 and 947).
std::string LoseAllShips() {
  std::string script = kCoinAndStart;
  for (int t = 400; t < 1000; t += 50) {
    script += std::to_string(t) + " press up\n" + std::to_string(t + 16) + " release up\n";
  }
  return script;
}

TEST(Game, BootPassesTheBoardCheckAndReachesAttractMode) {
  BoardRun run("boot");
  MainMemory m = run.MemoryAfter(250);  // the title page
  EXPECT_EQ(m[kNmiEnable], 1) << "frame interrupt not enabled";
  EXPECT_EQ(TextAt(m, 10, 0, 8), "HI SCORE");
  EXPECT_EQ(TextAt(m, 12, 19, 6), "TAVRIK") << "publisher name from the patched bytes";
  EXPECT_EQ(TextAt(m, 5, 24, 6), "1 COIN");
  const std::vector<uint8_t> fresh_table_start = {0x00, 0x00, 0x01, 0x00};
  EXPECT_TRUE(std::equal(fresh_table_start.begin(), fresh_table_start.end(), &m[kHiscoreTable]));
  EXPECT_EQ(m[kTopScore + 2], 0x01);
  EXPECT_FALSE(GameOverShown(m));
}

TEST(Game, ACoinGivesCreditsPerTheCoinage) {
  for (int coinage = 0; coinage < 4; ++coinage) {
    BoardRun run("coin");
    run.WriteScript("0 dip coinage " + std::to_string(coinage) +
                    "\n210 press coin\n216 release coin\n");
    MainMemory m = run.MemoryAfter(300);
    EXPECT_EQ(TextAt(m, 19, 0, 8), "CREDIT " + std::to_string(coinage + 1))
        << "coinage " << coinage;
    std::string prompt = TextAt(m, 9, 21, 10);
    EXPECT_TRUE(prompt == "PUSH START" || prompt == "          ") << prompt;
  }
}

TEST(Game, StartPutsTheShipAtTheDock) {
  BoardRun run("start");
  run.WriteScript(kCoinAndStart);
  MainMemory m = run.MemoryAfter(kShipReady);
  EXPECT_EQ(m[kShipX], 120);
  EXPECT_EQ(m[kShipY], 223);
  EXPECT_EQ(TextAt(m, 19, 0, 8), "CREDIT 0") << "the start took the credit";
  EXPECT_EQ(TextAt(m, 8, 31, 5), "LEVEL");
}

TEST(Game, TheShipMovesWithEachDirection) {
  struct Case {
    const char* held;
    int dx, dy;  // expected sign of the change
  };
  const Case cases[] = {{"left", -1, 0}, {"right", 1, 0}, {"up", 0, -1}};
  for (const Case& c : cases) {
    BoardRun run("move");
    run.WriteScript(std::string(kCoinAndStart) + std::to_string(kShipReady) + " press " + c.held +
                    "\n");
    MainMemory m = run.MemoryAfter(kShipReady + 12);
    int dx = m[kShipX] - 120;
    int dy = m[kShipY] - 223;
    EXPECT_EQ((dx > 0) - (dx < 0), c.dx) << c.held << " moved x by " << dx;
    EXPECT_EQ((dy > 0) - (dy < 0), c.dy) << c.held << " moved y by " << dy;
  }
  // Down, after a short climb (the dock is the lowest place).
  BoardRun run("move_down");
  run.WriteScript(std::string(kCoinAndStart) + "360 press up\n366 release up\n370 press down\n");
  MainMemory before = run.MemoryAfter(370);
  MainMemory after = run.MemoryAfter(376);
  EXPECT_GT(after[kShipY], before[kShipY]);
}

TEST(Game, FireLaunchesShotsHeldOrByTheAutofirePulse) {
  const char* const ways[] = {"360 press fire\n", "0 autofire on\n"};
  for (const char* way : ways) {
    BoardRun run("fire");
    run.WriteScript(std::string(kCoinAndStart) + way);
    MainMemory m = run.MemoryAfter(kShipReady + 20);
    int shots = 0;
    for (int b = 0; b < 3; ++b) shots += m[kBulletRam + 4 * b + 1] != 0;
    EXPECT_GE(shots, 2) << way;
  }
}

TEST(Game, TwoPlayersTakeTurns) {
  BoardRun run("two_players");
  std::string script =
      "210 press coin\n216 release coin\n220 press coin\n226 release coin\n"
      "230 press start2\n236 release start2\n";
  // Player one climbs into a mine lane and loses a ship; then it is player two's turn.
  script += "400 press up\n416 release up\n450 press up\n466 release up\n";
  run.WriteScript(script);
  MainMemory first = run.MemoryAfter(300);
  EXPECT_EQ(TextAt(first, 5, 30, 8), "PLAYER 1");
  EXPECT_EQ(TextAt(first, 22, 0, 3), "2UP") << "player two's score replaces the credits";
  MainMemory second = run.MemoryAfter(600);
  EXPECT_EQ(TextAt(second, 5, 30, 8), "PLAYER 2");
}

TEST(Game, PlayerTwoSteersOnTheirTurnInBothCabinets) {
  for (int cabinet = 0; cabinet < 2; ++cabinet) {
    BoardRun run("player_two");
    // Player one loses a ship; player two's ship is at the dock from frame 680.
    run.WriteScript("0 dip cabinet " + std::to_string(cabinet) +
                    "\n210 press coin\n216 release coin\n220 press coin\n226 release coin\n"
                    "230 press start2\n236 release start2\n400 press up\n416 release up\n"
                    "450 press up\n466 release up\n690 press left\n");
    MainMemory m = run.MemoryAfter(700);
    EXPECT_EQ(m[kShipY], 223) << "cabinet " << cabinet;
    EXPECT_LT(m[kShipX], 120) << "cabinet " << cabinet;
  }
}

TEST(Game, TheStylusSteersTheShip) {
  BoardRun run("stylus");
  // Left of the ship on the portrait screen, level with it.
  run.WriteScript(std::string(kCoinAndStart) + "360 stylus 20 263\n");
  MainMemory m = run.MemoryAfter(kShipReady + 20);
  EXPECT_LT(m[kShipX], 120 - 20);
  EXPECT_EQ(m[kShipY], 223);
}

TEST(Game, LosingAllShipsShowsGameOverInItsCellsAndNotBefore) {
  BoardRun run("game_over");
  run.WriteScript("0 dip lives 0\n" + LoseAllShips());
  // The second and third ships in play: no game-over cells; after the third is lost, there they
  // are.
  for (uint64_t frames : {700u, 900u, 1000u, 1100u}) {
    MainMemory m = run.MemoryAfter(frames);
    if (frames < 1000) {
      EXPECT_FALSE(GameOverShown(m)) << "at frame " << frames;
    } else {
      EXPECT_TRUE(GameOverShown(m)) << TextAt(m, 9, 22, 9);
      EXPECT_EQ(TextAt(m, 9, 22, 9), "GAME OVER");
    }
  }
}

TEST(Game, AttractModeNeverShowsTheGameOverCells) {
  BoardRun run("attract");
  for (uint64_t frames : {400u, 900u, 1300u, 1600u, 1900u, 2600u}) {
    MainMemory m = run.MemoryAfter(frames);
    EXPECT_FALSE(GameOverShown(m)) << "at frame " << frames;
  }
}

// A saved table is read over the fresh one, shown as the top score, extended by the next game's
// score with its initials, and saved again for the game after.
TEST(Game, HighScoreTableRoundTripsThroughTheFile) {
  BoardRun run("hiscore");
  std::vector<uint8_t> table(30, 0);
  table[0] = 0x50, table[1] = 0x34, table[2] = 0x12;  // 123450
  for (int i = 15; i < 30; ++i) table[i] = 0x2A;      // initials ZZZ
  run.WriteFile("vortekan.hi", table);

  MainMemory attract = run.MemoryAfter(400);
  EXPECT_TRUE(std::equal(table.begin(), table.end(), &attract[kHiscoreTable]));
  EXPECT_EQ(TextAt(attract, 11, 1, 6), "123450");

  // First game: 10 points for a lane climbed, all ships lost; the initials entry opens at frame
  // 1188: "B", then fire takes it three times.
  std::string script = "0 dip lives 0\n" + LoseAllShips();
  script += "1250 press up\n1252 release up\n";
  script += "1260 press fire\n1262 release fire\n1270 press fire\n1272 release fire\n";
  script += "1280 press fire\n1282 release fire\n";
  run.WriteScript(script);
  RunResult first = run.Run({"--frames", "1400"});
  ASSERT_EQ(first.exit_code, 0) << first.output;
  std::vector<uint8_t> saved = run.ReadFile("vortekan.hi");
  ASSERT_EQ(saved.size(), 30u);
  EXPECT_EQ(saved[0], 0x50) << "the loaded top score stays first";
  EXPECT_EQ(saved[3], 0x10) << "our 10 points went in second";
  EXPECT_EQ(saved[18], 0x12) << "initials BBB";
  EXPECT_EQ(saved[19], 0x12);
  EXPECT_EQ(saved[20], 0x12);

  // Second game: the table comes back as the first game left it.
  std::filesystem::remove(run.Path("input.txt"));
  MainMemory second = run.MemoryAfter(400);
  EXPECT_TRUE(std::equal(saved.begin(), saved.end(), &second[kHiscoreTable]));
  EXPECT_EQ(second[kTopScore], 0x50);
  EXPECT_EQ(second[kTopScore + 2], 0x12);
}

TEST(Game, ADamagedHighScoreFileIsShownSafelyAndTheGamePlays) {
  BoardRun run("damaged_hiscore");
  run.WriteFile("vortekan.hi", std::vector<uint8_t>(30, 0xFF));
  run.WriteScript(kCoinAndStart);
  MainMemory m = run.MemoryAfter(kShipReady);
  EXPECT_EQ(TextAt(m, 11, 1, 6), "999999") << "digits that are not decimal show as 9";
  EXPECT_EQ(m[kShipX], 120) << "the game started";
  EXPECT_EQ(m[kShipY], 223);
}

TEST(Game, ALoadedStateContinuesExactlyAsTheOriginalRun) {
  BoardRun run("state");
  run.WriteScript(std::string(kCoinAndStart) + "360 press up fire\n");
  ASSERT_EQ(run.Run({"--frames", "601", "--save-state", "600:" + run.Path("mid.state").string()})
                .exit_code,
            0);
  ASSERT_EQ(run.Run({"--frames", "801", "--save-state", "800:" + run.Path("end.state").string()})
                .exit_code,
            0);
  // The continuation holds the same controls from its first frame, the twin of frame 601.
  run.WriteScript("0 press up fire\n");
  RunResult resumed = run.Run({"--load-state", run.Path("mid.state").string(), "--frames", "200",
                               "--save-state", "199:" + run.Path("resumed.state").string()});
  ASSERT_EQ(resumed.exit_code, 0) << resumed.output;
  std::vector<uint8_t> original = run.ReadFile("end.state");
  std::vector<uint8_t> continued = run.ReadFile("resumed.state");
  ASSERT_FALSE(original.empty());
  // The processors' refresh registers start at random on every power-on (the two original
  // frames come from two runs); the game never reads them.
  for (size_t refresh : {kMainRefreshOffset, kSoundRefreshOffset}) {
    original.at(refresh) = continued.at(refresh) = 0;
  }
  EXPECT_TRUE(original == continued) << "states differ after 200 frames";
  EXPECT_NE(run.ReadFile("mid.state"), original) << "the game did move on";
}

TEST(Game, TheStartTunePlaysOnTheSoundGenerators) {
  BoardRun run("sound");
  run.WriteScript(kCoinAndStart);
  ASSERT_EQ(run.Run({"--frames", "360", "--wav", run.Path("game.wav").string()}).exit_code, 0);
  std::vector<int16_t> samples = WavSamples(run.ReadFile("game.wav"));
  ASSERT_GT(samples.size(), 22050u * 2);
  // The tune starts with the game at frame 230, i.e. 29 frames (0.48 s) into the output.
  auto loudest = [&](double from_s, double to_s) {
    int peak = 0;
    for (size_t i = static_cast<size_t>(from_s * 22050); i < to_s * 22050 && i < samples.size();
         ++i) {
      peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    }
    return peak;
  };
  EXPECT_EQ(loudest(0.0, 0.05), 0) << "silence before the coin";
  EXPECT_GT(loudest(0.6, 2.4), 1000) << "the start tune";
}

}  // namespace
}  // namespace vortekan_test
