#include "machine/game_loop.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "machine/alloc.h"
#include "machine/board.h"
#include "machine/graphics.h"
#include "machine/inputs.h"
#include "machine/memory_map.h"
#include "machine/persistence.h"
#include "machine/program_image.h"
#include "machine/renderer.h"
#include "machine/settings.h"
#include "platform/screen.h"
#include "sound/mixer.h"
#include "sound/psg.h"
#include "sound/wave_output.h"

namespace machine {
namespace {

constexpr uint32_t kPortMask = 255;
constexpr uint32_t kWaveBits = 16;
constexpr uint32_t kWaveChannels = 1;
constexpr int kMixerSources = 2;
constexpr uint8_t kInitialHiscoreTable[4] = {0x00, 0x00, 0x01, 0x00};
constexpr int kTopScoreBytes = 3;
constexpr uint16_t kGameOverCellA = 0x4A96;
constexpr uint8_t kGameOverCodeA = 0x17;
constexpr uint16_t kGameOverCellB = 0x4A76;
constexpr uint8_t kGameOverCodeB = 0x11;
constexpr int kStylusDeadZone = 4;

uint8_t* GraphicsBuffer = nullptr;
sound::SoundMixer* Mixer = nullptr;

void ReleaseBoard() {
  if (Mixer) sound::MixerFree(*Mixer);
  FreeBlock(Mixer);
  FreeBlock(Psg);
  FreeBlock(GraphicsBuffer);
  FreeBlock(SoundSpace);
  FreeBlock(MainSpace);
  FreeBlock(SoundHandlers);
  FreeBlock(MainHandlers);
  RendererTearDown();
  Mixer = nullptr;
  Psg = nullptr;
  GraphicsBuffer = nullptr;
  DecodedGraphics = nullptr;
  MainSpace = SoundSpace = nullptr;
  MainHandlers = SoundHandlers = nullptr;
}

template <typename T>
T* AllocZeroedArray(std::size_t count) {
  return static_cast<T*>(AllocZeroed(count * sizeof(T)));
}

void LoadHiscoresOnceTableIsSetUp() {
  uint8_t* memory = MainMemory();
  if (HiscoresLoaded || std::memcmp(memory + MainAddress::HiscoreTable, kInitialHiscoreTable,
                                    sizeof kInitialHiscoreTable) != 0) {
    return;
  }
  HiscoresLoaded = 1;
  if (HiscoreLoad(memory + MainAddress::HiscoreTable, kHiscoreBytes) == 0) {
    std::memcpy(memory + MainAddress::DisplayedTopScore, memory + MainAddress::HiscoreTable,
                kTopScoreBytes);
  }
}

void RunSlices() {
  for (int slice = 0; slice < kSlicesPerFrame; ++slice) {
    int32_t mainBudget = kMainSliceTStates;
    z80::Z80Run(MainSpace, MainCpu, MainHandlers, &mainBudget, &Latches.mainRequest);
    Latches.soundBudget = kSoundSliceTStates;
    Latches.timerMark = kSoundSliceTStates;
    z80::Z80Run(SoundSpace, SoundCpu, SoundHandlers, &Latches.soundBudget, &Latches.soundRequest);
  }
}

void ProduceSound() {
  sound::PsgRender(0, *Psg, Mixer->sources[0].buffer, kSamplesPerFrame);
  sound::PsgRender(1, *Psg, Mixer->sources[1].buffer, kSamplesPerFrame);
  auto* slot = reinterpret_cast<int16_t*>(sound::WaveRing + sound::RingSlot * sound::FrameBytes);
  sound::MixerMix(*Mixer, kSamplesPerFrame, slot);
  sound::WaveAdvance();
}

void ProducePicture() {
  RenderFrame();
  if (!Hooks.presentFrame) return;
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  if (width == height) {
    FrameStart += kFrameMarginRows * kFrameStride;
    Hooks.presentFrame(240, 240);
    FrameStart -= kFrameMarginRows * kFrameStride;
  } else if (width > height) {
    Hooks.presentFrame(320, 240);
  } else {
    Hooks.presentFrame(224, 256);
  }
}

void CheckGameOver() {
  const uint8_t* memory = MainMemory();
  if (memory[kGameOverCellA] == kGameOverCodeA && memory[kGameOverCellB] == kGameOverCodeB &&
      GameOver == 0) {
    GameOver = 1;
    if (Hooks.invalidateWindow) Hooks.invalidateWindow();
  }
}

// Steers the ship (sprite 0) toward the stylus while it is held.
void SteerTowardStylus() {
  const uint8_t* ship = MainMemory() + MainAddress::SpriteRam;
  ControlState &=
      ~(ControlBit::P1Up | ControlBit::P1Down | ControlBit::P1Left | ControlBit::P1Right);
  const int verticalOffset =
      GetSystemMetrics(SM_CXSCREEN) < GetSystemMetrics(SM_CYSCREEN) ? 32 : -8;
  const int dx = StylusX - (ship[0] - 8);
  const int dy = StylusY - verticalOffset - (ship[3] + 8);
  if (std::abs(dx) >= kStylusDeadZone)
    ControlState |= dx > 0 ? ControlBit::P1Right : ControlBit::P1Left;
  if (std::abs(dy) >= kStylusDeadZone)
    ControlState |= dy > 0 ? ControlBit::P1Down : ControlBit::P1Up;
}

}  // namespace

int CurrentSoundLevel() {
  return static_cast<int>(std::min<uint32_t>(Settings.soundLevel, 3));
}

bool GameSetUp() {
  RendererSetUp();

  Psg = AllocZeroedArray<sound::PsgBlock>(1);
  Latches.psgSelect[0] = Latches.psgSelect[1] = 0;
  sound::PsgInit(0, *Psg, kPsgClockHz, kSampleRateHz);
  sound::PsgInit(1, *Psg, kPsgClockHz, kSampleRateHz);

  MainHandlers = AllocZeroedArray<z80::MemoryHandler>(kHandlerTableEntries);
  SoundHandlers = AllocZeroedArray<z80::MemoryHandler>(kHandlerTableEntries);
  MainSpace = AllocZeroedArray<z80::AddressSpace>(z80::kAddressSpaceBytes);
  SoundSpace = AllocZeroedArray<z80::AddressSpace>(z80::kAddressSpaceBytes);
  GraphicsBuffer = AllocZeroedArray<uint8_t>(kGraphicsBufferBytes);
  Mixer = AllocZeroedArray<sound::SoundMixer>(1);
  Mixer->sourceCount = kMixerSources;
  Mixer->outputChannels = 1;
  for (int s = 0; s < kMixerSources; ++s)
    Mixer->sources[s].level = kChannelLevels[CurrentSoundLevel()];

  uint8_t* image = LoadProgramImage();
  if (!image) {
    ReleaseBoard();
    return false;
  }
  std::memcpy(MainMemory(), image + kMainProgramOffset, kMainProgramBytes);
  MarkReadOnly(MainSpace, 0, kMainProgramBytes);
  std::memcpy(SoundMemory(), image + kSoundProgramOffset, kSoundProgramBytes);
  MarkReadOnly(SoundSpace, 0, kSoundProgramBytes);
  std::memcpy(GraphicsBuffer, image + kGraphicsOffset, kGraphicsAndPromBytes);
  FreeBlock(image);

  InstallBoardMap();
  BuildPalette(GraphicsBuffer + kPromOffset);  // before decoding overwrites the PROM bytes
  DecodeGraphics(GraphicsBuffer);
  DecodedGraphics = GraphicsBuffer;

  z80::Z80Reset(MainCpu, kPortMask);
  z80::Z80Reset(SoundCpu, kPortMask);
  Latches.soundRequest = 0;
  Latches.mainRequest = 0;
  Latches.nmiEnable = 0;

  sound::WaveOpen(kSampleRateHz, kWaveBits, kWaveChannels);
  sound::MixerInit(*Mixer, static_cast<int>(sound::FrameBytes / 2));

  HiscoresLoaded = 0;
  QuitRequested = 0;
  ControlState = 0;
  FrameCounter = 0;
  // Resuming skips the start phase, which would otherwise run the restored game unseen.
  if (ResumeRequested) {
    ResumeRequested = 0;
    if (SaveOrLoadState(kResumeSlot, kStateLoad)) FrameCounter = kStartFrames;
  }
  if (Hooks.pacingStart) Hooks.pacingStart(kFramesPerSecond);
  return true;
}

void GameFrame() {
  LoadHiscoresOnceTableIsSetUp();
  if (Latches.nmiEnable) Latches.mainRequest |= z80::Z80_REQ_NMI;
  RunSlices();
  if (FrameCounter >= kStartFrames) {
    if (CurrentSoundLevel() != 0) ProduceSound();
    if (!SkipNextVideo) ProducePicture();
    CheckGameOver();
    if (Hooks.pacingEndFrame) Hooks.pacingEndFrame();
  }
  ++FrameCounter;
  if (StylusSteering) SteerTowardStylus();
}

void GameTearDown() {
  if (HiscoresLoaded == 1) HiscoreSave(MainMemory() + MainAddress::HiscoreTable, kHiscoreBytes);
  SaveOrLoadState(kResumeSlot, kStateSave);
  sound::WaveClose();
  ReleaseBoard();
}

void RunGame() {
  if (!GameSetUp()) return;
  do {
    GameFrame();
  } while (!QuitRequested);
  GameTearDown();
}

}  // namespace machine
