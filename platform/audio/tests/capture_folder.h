// Test support: a fresh capture folder for one test, and reading what was captured there.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/audio.h"

class CaptureFolderTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "audio-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    setenv("VDEVICE_AUDIO_CAPTURE", folder_.c_str(), 1);
    platform::ClearWaveOutJournal();
  }

  void TearDown() override {
    unsetenv("VDEVICE_AUDIO_CAPTURE");
    std::filesystem::remove_all(folder_);
  }

  std::vector<std::filesystem::path> CaptureFiles() const {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
      files.push_back(entry.path());
    }
    return files;
  }

  static std::vector<uint8_t> ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  // The sample bytes of a capture file written by the wave output (a 44-byte header).
  static std::vector<uint8_t> CapturedSamples(const std::filesystem::path& file) {
    std::vector<uint8_t> bytes = ReadBytes(file);
    if (bytes.size() < 44) return {};
    uint32_t size = bytes[40] | bytes[41] << 8 | bytes[42] << 16 | uint32_t{bytes[43]} << 24;
    return {bytes.begin() + 44, bytes.begin() + 44 + std::min<size_t>(size, bytes.size() - 44)};
  }

  std::filesystem::path folder_;
};
