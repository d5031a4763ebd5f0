// The game loop: builds the board, runs both processors frame by frame with sound, picture and
// input, and tears the board down when the shell asks it to stop.
//
// RunGame composes the three steps below; a runner can call them itself to step frames.
// Presentation and pacing belong to the shell: the frame step calls them through GameHooks,
// and a hook left null is skipped (the board then runs unpaced and shows nothing).
#pragma once

#include <cstdint>

namespace machine {

inline constexpr int kSlicesPerFrame = 2;
inline constexpr int32_t kMainSliceTStates = 25600;
inline constexpr int32_t kSoundSliceTStates = 14914;
inline constexpr uint32_t kPsgClockHz = 1789750;
inline constexpr uint32_t kSampleRateHz = 22050;
inline constexpr int kSamplesPerFrame = 367;
inline constexpr uint32_t kStartFrames = 201;  // frames 0-200 run without output or pacing
inline constexpr int kFramesPerSecond = 60;

struct GameHooks {
  void (*pacingStart)(int framesPerSecond);
  void (*presentFrame)(int width, int height);  // shows width x height at FrameStart
  void (*pacingEndFrame)();    // message pump, pause and wait; may set QuitRequested
  void (*invalidateWindow)();  // the game-over screen appeared: repaint the main window
};

inline GameHooks Hooks{};

// Set by pacing when the next frame must skip rendering and presentation to catch up.
inline uint32_t SkipNextVideo = 0;

// Channel level of each sound level "Off", "Low", "Med", "High".
inline constexpr uint8_t kChannelLevels[4] = {0, 25, 50, 99};
// The settings' sound level, a value outside 0-3 counting as the nearest valid one.
int CurrentSoundLevel();

// Builds the board. Returns false, with everything released and nothing written, when the
// program image is missing or damaged (its message box has been shown).
bool GameSetUp();
// Runs one frame.
void GameFrame();
// Saves the high scores and the resume slot, closes the sound and releases the board.
void GameTearDown();

// The whole game: set-up, frames until QuitRequested is found set after one, tear-down.
void RunGame();

}  // namespace machine
