// vortekan_run: runs the emulated board for a number of frames without the game shell, for
// building the game program and for looking at the board: scripted input, screenshots, the
// mixed sound, save states, or an interactive window.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>

#include "image_file.h"
#include "input_script.h"
#include "machine/board.h"
#include "machine/game_loop.h"
#include "machine/inputs.h"
#include "machine/persistence.h"
#include "machine/settings.h"
#include "options.h"
#include "platform/device.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/module.h"
#include "platform/screen.h"
#include "screen.h"
#include "sound/wave_output.h"
#include "wav_file.h"

namespace runner {
namespace {

constexpr int kSaveStateSlot = 0;  // no command of the game uses slots 0-4
constexpr int kWindowScale = 2;
constexpr uint64_t kFramePeriodUs = 1000000 / machine::kFramesPerSecond;

std::unique_ptr<DeviceScreen> screen;
std::unique_ptr<platform::host::ScreenWindow> window;

void PresentToScreen(int width, int height) {
  screen->Present(width, height);
  if (window) window->Show(screen->pixels(), screen->width());
}

// The program's directory as a device path with its trailing backslash.
void LocateModuleDirectory() {
  WCHAR path[260];
  const DWORD length = GetModuleFileNameW(nullptr, path, 260);
  std::u16string directory(path, length);
  directory.erase(directory.rfind(u'\\') + 1);
  directory.copy(machine::ModuleDirectory, directory.size());
  machine::ModuleDirectory[directory.size()] = 0;
}

std::filesystem::path SlotFile(int slot) {
  std::u16string name = machine::ModuleDirectory;
  name += u"vortekan.sv" + platform::FromUtf8(std::to_string(slot + 1));
  return platform::DevicePathToHost(name).value_or(std::filesystem::path());
}

uint32_t ControlOfKey(uint32_t key) {
  using namespace platform::host;
  using namespace machine::ControlBit;
  switch (key) {
    case DeviceKey::Left: return P1Left;
    case DeviceKey::Right: return P1Right;
    case DeviceKey::Up: return P1Up;
    case DeviceKey::Down: return P1Down;
    case DeviceKey::Space:
    case DeviceKey::Control: return P1Fire;
    case DeviceKey::LetterA + ('X' - 'A'):
    case DeviceKey::Shift: return P1Jump;
    case DeviceKey::LetterA + ('C' - 'A'): return Coin1;
    case DeviceKey::Digit0 + 1:
    case DeviceKey::Return: return Start1;
    case DeviceKey::Digit0 + 2: return Start2;
    default: return 0;
  }
}

// The window's input, then the wait for the next 1/60 s.
void PumpAndPace() {
  static uint64_t deadlineUs = 0;
  platform::host::HostEvent event;
  while (window->NextEvent(event)) {
    using Kind = platform::host::HostEvent::Kind;
    switch (event.kind) {
      case Kind::Quit: machine::QuitRequested = 1; break;
      case Kind::KeyDown:
        if (event.key == platform::host::DeviceKey::Escape) machine::QuitRequested = 1;
        machine::ControlState |= ControlOfKey(event.key);
        break;
      case Kind::KeyUp: machine::ControlState &= ~ControlOfKey(event.key); break;
      case Kind::StylusDown:
      case Kind::StylusMove:
        machine::StylusSteering = 1;
        machine::StylusX = event.x;
        machine::StylusY = event.y;
        break;
      case Kind::StylusUp:
        machine::StylusSteering = 0;
        machine::ControlState &= ~(machine::ControlBit::P1Up | machine::ControlBit::P1Down |
                                   machine::ControlBit::P1Left | machine::ControlBit::P1Right);
        break;
    }
  }
  const uint64_t nowUs = platform::DeviceNowMs() * 1000;
  if (deadlineUs == 0 || nowUs > deadlineUs + 10 * kFramePeriodUs) deadlineUs = nowUs;
  deadlineUs += kFramePeriodUs;
  if (deadlineUs > nowUs) platform::DeviceSleepMs((deadlineUs - nowUs) / 1000);
}

int Fail(const std::string& message, int status) {
  std::cerr << "vortekan_run: " << message << "\n";
  return status;
}

int Run(const RunnerOptions& options) {
  if (!options.interactive) setenv("SDL_AUDIODRIVER", "dummy", 0);  // no sound device needed
  platform::SetDeviceProfile(options.layout);
  if (options.directory) {
    std::error_code error;
    std::filesystem::create_directories(*options.directory, error);
    if (error) return Fail("cannot create " + options.directory->string(), 1);
    platform::SetProgramHostFolder(std::filesystem::absolute(*options.directory));
  }
  LocateModuleDirectory();

  std::string error;
  if (options.image && !UseProgramImageFile(*options.image, error)) return Fail(error, 1);
  std::multimap<uint64_t, ScriptAction> script;
  if (options.inputScript) {
    std::ifstream in(*options.inputScript);
    if (!in) return Fail("cannot read " + options.inputScript->string(), 1);
    const auto actions = ParseInputScript(in, options.inputScript->string(), error);
    if (!actions) return Fail(error, 2);
    for (const ScriptAction& action : *actions) script.emplace(action.frame, action);
  }
  WavFile wav;
  if (options.wav && !wav.Open(*options.wav, machine::kSampleRateHz, error)) return Fail(error, 1);

  screen =
      std::make_unique<DeviceScreen>(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  if (options.interactive) {
    window = platform::host::ScreenWindow::Open("Vortekan", screen->width(), screen->height(),
                                                kWindowScale, error);
    if (!window) return Fail("no window: " + error, 1);
    machine::Hooks.pacingEndFrame = PumpAndPace;
  }
  machine::Hooks.presentFrame = PresentToScreen;
  machine::Settings.soundLevel = 3;

  if (!machine::GameSetUp()) return 1;  // the board has shown why
  if (options.loadState) {
    std::error_code copyError;
    std::filesystem::copy_file(*options.loadState, SlotFile(kSaveStateSlot),
                               std::filesystem::copy_options::overwrite_existing, copyError);
    if (copyError || !machine::SaveOrLoadState(kSaveStateSlot, machine::kStateLoad)) {
      machine::GameTearDown();
      return Fail("cannot load the state " + options.loadState->string(), 1);
    }
    machine::FrameCounter = machine::kStartFrames;
  }

  const uint64_t frames =
      options.frames.value_or(options.interactive ? UINT64_MAX : kDefaultFrames);
  const auto started = std::chrono::steady_clock::now();
  uint64_t frame = 0;
  for (; frame < frames && !machine::QuitRequested; ++frame) {
    for (auto [it, end] = script.equal_range(frame); it != end; ++it) ApplyScriptAction(it->second);
    const int slotBefore = sound::RingSlot;
    machine::GameFrame();
    if (options.wav && sound::RingSlot != slotBefore) {
      wav.Append(reinterpret_cast<const int16_t*>(sound::WaveRing + slotBefore * sound::FrameBytes),
                 static_cast<int>(sound::FrameBytes / 2));
    }
    for (const FrameFile& shot : options.screenshots) {
      if (shot.frame != frame) continue;
      if (!platform::host::WritePng(shot.file, screen->pixels(), screen->width(), screen->height(),
                                    screen->width(), error)) {
        std::cerr << "vortekan_run: " << error << "\n";
      }
    }
    if (options.saveState && options.saveState->frame == frame) {
      machine::SaveOrLoadState(kSaveStateSlot, machine::kStateSave);
      std::error_code copyError;
      std::filesystem::copy_file(SlotFile(kSaveStateSlot), options.saveState->file,
                                 std::filesystem::copy_options::overwrite_existing, copyError);
      if (copyError) std::cerr << "vortekan_run: cannot write " << options.saveState->file << "\n";
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  machine::GameTearDown();
  window.reset();
  if (options.wav && !wav.Close()) return Fail("cannot write " + options.wav->string(), 1);
  std::printf("frames/s: %.1f\n", seconds > 0 ? static_cast<double>(frame) / seconds : 0.0);
  return 0;
}

}  // namespace
}  // namespace runner

int main(int argc, char** argv) {
  std::string error;
  const auto options = runner::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    (error.empty() ? std::cout : std::cerr)
        << (error.empty() ? "" : error + "\n") << runner::kUsage;
    return error.empty() ? 0 : 2;
  }
  return runner::Run(*options);
}
