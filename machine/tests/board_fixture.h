// A board built from a synthetic program image, with its files in a fresh host folder.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "machine/board.h"
#include "machine/game_loop.h"
#include "machine/inputs.h"
#include "machine/persistence.h"
#include "machine/settings.h"
#include "platform/files.h"
#include "platform/screen.h"
#include "synthetic_image.h"

namespace machine {

class BoardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("board_" + std::to_string(::getpid()) + "_" + info->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    platform::MountDeviceFolder(u"\\Board", dir_);
    const std::u16string directory = u"\\Board\\";
    directory.copy(ModuleDirectory, directory.size());
    ModuleDirectory[directory.size()] = 0;
    platform::SetDeviceProfile("portrait");
    Settings = {};
    Settings.soundLevel = 3;
    Hooks = {};
    Latches = {};  // as at program start
    SkipNextVideo = 0;
    ResumeRequested = 0;
    GameOver = 0;
    StylusSteering = 0;
    for (DipSetting* dip = DipSettings; dip->label; ++dip) dip->value = 0;
  }

  void TearDown() override {
    if (MainSpace) GameTearDown();
    std::filesystem::remove_all(dir_);
  }

  bool Start(const testing::ProgramImage& image) {
    testing::UseProgramImageResource(testing::PackResource(image.bytes));
    return GameSetUp();
  }

  void RunFrames(int count) {
    for (int i = 0; i < count; ++i) GameFrame();
  }

  std::filesystem::path dir_;
};

}  // namespace machine
