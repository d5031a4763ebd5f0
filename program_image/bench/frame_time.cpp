// Figures for the game program: the T-states its frame work takes on the main processor, from the
// frame interrupt to the HALT that ends it, over a long attract-mode run (title, instructions,
// high scores, demonstration) and over a played game. The main processor is stepped one
// instruction at a time so each frame's count is exact; the sound processor runs as on the board.
//
//   vortekan_frame_time [attract frames] [game frames]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "machine/board.h"
#include "machine/game_loop.h"
#include "machine/inputs.h"
#include "machine/persistence.h"
#include "machine/settings.h"
#include "platform/files.h"
#include "synthetic_image.h"
#include "z80/z80.h"

namespace {

constexpr int32_t kFrameTStates = machine::kSlicesPerFrame * machine::kMainSliceTStates;

struct Figures {
  int64_t frames = 0;
  int64_t total = 0;
  int32_t max = 0;
  int64_t over_budget = 0;
};

// One frame: the interrupt, then the main processor instruction by instruction until it halts
// (or the frame's budget is spent), with the sound processor's slices in between as usual.
int32_t MeasuredFrame() {
  using namespace machine;
  if (Latches.nmiEnable) Latches.mainRequest |= z80::Z80_REQ_NMI;
  int32_t used = 0;
  bool halted = false;
  for (int slice = 0; slice < kSlicesPerFrame; ++slice) {
    int32_t left = kMainSliceTStates;
    while (!halted && left > 0) {
      int32_t budget = 1;
      z80::Z80Run(MainSpace, MainCpu, MainHandlers, &budget, &Latches.mainRequest);
      halted = MainCpu.halted != 0;
      if (!halted) {
        used += 1 - budget;
        left -= 1 - budget;
      }
    }
    Latches.soundBudget = kSoundSliceTStates;
    Latches.timerMark = kSoundSliceTStates;
    z80::Z80Run(SoundSpace, SoundCpu, SoundHandlers, &Latches.soundBudget, &Latches.soundRequest);
  }
  ++FrameCounter;
  return halted ? used : kFrameTStates;
}

void Record(Figures& figures, int32_t used) {
  ++figures.frames;
  figures.total += used;
  if (used > figures.max) figures.max = used;
  if (used >= kFrameTStates) ++figures.over_budget;
}

void Print(const char* name, const Figures& f) {
  std::printf(
      "%-44s frames %7lld  average %6lld  max %6d of %d T-states  (%.1f%%, %.1f%%)  over %lld\n",
      name, static_cast<long long>(f.frames),
      static_cast<long long>(f.frames ? f.total / f.frames : 0), f.max, kFrameTStates,
      f.frames
          ? 100.0 * static_cast<double>(f.total) / static_cast<double>(f.frames) / kFrameTStates
          : 0.0,
      100.0 * f.max / kFrameTStates, static_cast<long long>(f.over_budget));
}

// Coin and start, then the ship climbs a lane every second and a half, firing, until it is out of
// ships; further coins and starts begin new games.
uint32_t GameControls(int64_t frame) {
  using namespace machine::ControlBit;
  int64_t t = frame % 3000;
  if (t >= 10 && t < 16) return Coin1;
  if (t >= 30 && t < 36) return Start1;
  uint32_t held = (t & 15) < 8 ? P1Fire : 0;
  if (t % 90 < 12) held |= P1Up;
  if (t % 200 > 150) held |= P1Jump;
  if (t % 400 < 40) held |= P1Left;
  if (t % 400 > 360) held |= P1Right;
  return held;
}

}  // namespace

int main(int argc, char** argv) {
  const int64_t attract_frames = argc > 1 ? std::atoll(argv[1]) : 36000;
  const int64_t game_frames = argc > 2 ? std::atoll(argv[2]) : 36000;
  std::ifstream in(VORTEKAN_IMAGE_FILE, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", VORTEKAN_IMAGE_FILE);
    return 1;
  }
  machine::testing::UseProgramImageResource(
      {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
  const auto dir = std::filesystem::temp_directory_path() / "vortekan_frame_time";
  std::filesystem::create_directories(dir);
  platform::MountDeviceFolder(u"\\FrameTime", dir);
  const std::u16string directory = u"\\FrameTime\\";
  directory.copy(machine::ModuleDirectory, directory.size());

  if (!machine::GameSetUp()) return 1;
  // Start-up (before the frame interrupt is enabled) is not frame work.
  while (!machine::Latches.nmiEnable) MeasuredFrame();

  Figures attract;
  for (int64_t f = 0; f < attract_frames; ++f) Record(attract, MeasuredFrame());
  Figures game;
  for (int64_t f = 0; f < game_frames; ++f) {
    machine::ControlState = GameControls(f);
    Record(game, MeasuredFrame());
  }
  Print("attract mode with demonstration", attract);
  Print("scripted games", game);
  machine::GameTearDown();
  return 0;
}
