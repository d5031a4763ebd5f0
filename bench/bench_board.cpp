// Figures for the emulated board, unpaced, with rendering and sound on: whole frames per second
// on the synthetic images, the hot paths on their own, and the peak memory of the process.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "machine/board.h"
#include "machine/game_loop.h"
#include "machine/persistence.h"
#include "machine/renderer.h"
#include "machine/settings.h"
#include "platform/files.h"
#include "sound/mixer.h"
#include "sound/psg.h"
#include "synthetic_image.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void UseScratchDirectory() {
  const auto dir = std::filesystem::temp_directory_path() / "bench_board";
  std::filesystem::create_directories(dir);
  platform::MountDeviceFolder(u"\\Bench", dir);
  const std::u16string directory = u"\\Bench\\";
  directory.copy(machine::ModuleDirectory, directory.size());
}

void BenchFrames(const char* name, const machine::testing::ProgramImage& image, int frames) {
  machine::testing::UseProgramImageResource(machine::testing::PackResource(image.bytes));
  machine::GameSetUp();
  for (uint32_t f = 0; f < machine::kStartFrames; ++f) machine::GameFrame();
  const auto start = Clock::now();
  for (int f = 0; f < frames; ++f) machine::GameFrame();
  const double seconds = Seconds(start);
  std::printf("%-34s %10.0f frames/s  (%.1f us/frame, a frame lasts 16667 us)\n", name,
              frames / seconds, 1e6 * seconds / frames);
  machine::GameTearDown();
}

void BenchHotPaths(int repeats) {
  machine::testing::UseProgramImageResource(
      machine::testing::PackResource(machine::testing::BusyImage().bytes));
  machine::GameSetUp();
  for (int f = 0; f < 300; ++f) machine::GameFrame();

  auto start = Clock::now();
  for (int r = 0; r < repeats; ++r) {
    std::memset(machine::TileDirty, 1, sizeof machine::TileDirty);
    machine::RenderFrame();
  }
  std::printf("%-34s %10.1f us/frame\n", "RenderFrame, all 1024 cells dirty",
              1e6 * Seconds(start) / repeats);
  start = Clock::now();
  for (int r = 0; r < repeats; ++r) machine::RenderFrame();
  std::printf("%-34s %10.1f us/frame\n", "RenderFrame, no cell dirty",
              1e6 * Seconds(start) / repeats);

  sound::PsgBlock psg{};
  sound::PsgInit(0, psg, machine::kPsgClockHz, machine::kSampleRateHz);
  const std::pair<int, int> writes[] = {{7, 0x30}, {8, 0x10}, {9, 12}, {10, 0x10}, {0, 200},
                                        {2, 77},   {4, 33},   {6, 7},  {11, 40},   {13, 14}};
  for (auto [reg, value] : writes) sound::PsgWriteRegister(0, psg, reg, value);
  int16_t samples[machine::kSamplesPerFrame];
  start = Clock::now();
  for (int r = 0; r < repeats * 10; ++r)
    sound::PsgRender(0, psg, samples, machine::kSamplesPerFrame);
  std::printf("%-34s %10.2f us/frame\n", "PsgRender, 367 samples, all on",
              1e6 * Seconds(start) / (repeats * 10));

  sound::SoundMixer mixer{};
  mixer.sourceCount = 2;
  mixer.outputChannels = 1;
  mixer.sources[0].level = mixer.sources[1].level = 99;
  sound::MixerInit(mixer, machine::kSamplesPerFrame);
  start = Clock::now();
  for (int r = 0; r < repeats * 10; ++r) sound::MixerMix(mixer, machine::kSamplesPerFrame, samples);
  std::printf("%-34s %10.2f us/frame\n", "MixerMix, 2 sources x 367",
              1e6 * Seconds(start) / (repeats * 10));
  sound::MixerFree(mixer);
  machine::GameTearDown();
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::atoi(argv[1]) : 20000;
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  UseScratchDirectory();
  machine::Settings.soundLevel = 3;
  BenchFrames("board, demonstration image", machine::testing::DemoImage(), frames);
  BenchFrames("board, busy image (no idle loop)", machine::testing::BusyImage(), frames);
  BenchHotPaths(frames / 4);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%-34s %10ld KiB\n", "peak resident memory", usage.ru_maxrss);
  return 0;
}
