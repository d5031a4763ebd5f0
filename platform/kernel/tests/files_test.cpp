#include "platform/files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "platform/handles.h"
#include "platform/module.h"

namespace {

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = std::filesystem::temp_directory_path() / ("files_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(home_);
    setenv("VDEVICE_HOME", home_.c_str(), 1);
  }
  void TearDown() override { std::filesystem::remove_all(home_); }
  std::filesystem::path home_;
};

TEST_F(FilesTest, DevicePathsMapUnderTheRootAndRefuseDotDot) {
  struct Case {
    std::u16string device;
    std::string host;  // relative to <home>/root; empty = refused
  };
  const Case cases[] = {
      {u"\\My Documents\\a.txt", "My Documents/a.txt"},
      {u"\\\\dir\\\\file", "dir/file"},
      {u"\\dir\\", "dir"},
      {u"\\a\\.\\b", "a/b"},
      {u"\\a\\..\\..\\etc", ""},
  };
  for (const auto& c : cases) {
    const auto host = platform::DevicePathToHost(c.device);
    if (c.host.empty()) {
      EXPECT_FALSE(host) << platform::ToUtf8(c.device);
    } else {
      ASSERT_TRUE(host) << platform::ToUtf8(c.device);
      EXPECT_EQ(*host, home_ / "root" / c.host) << platform::ToUtf8(c.device);
    }
  }
}

TEST_F(FilesTest, LongestMountWinsAndMatchesWithoutCase) {
  platform::MountDeviceFolder(u"\\Storage", home_ / "storage");
  platform::MountDeviceFolder(u"\\Storage\\Games", home_ / "games");
  EXPECT_EQ(*platform::DevicePathToHost(u"\\storage\\GAMES\\x.hi"), home_ / "games" / "x.hi");
  EXPECT_EQ(*platform::DevicePathToHost(u"\\Storage\\Gamesx"), home_ / "storage" / "Gamesx");
}

TEST_F(FilesTest, WriteReadDeleteThroughTheProgramFolder) {
  platform::SetProgramHostFolder(home_ / "program");
  std::filesystem::create_directories(home_ / "program");
  WCHAR module[260];
  ASSERT_GT(GetModuleFileNameW(nullptr, module, 260), 0u);
  std::u16string path(module);
  path = path.substr(0, path.rfind(u'\\') + 1) + u"game.hi";

  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(out, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(out, "abc", 3, &written, nullptr));
  EXPECT_EQ(written, 3u);
  EXPECT_TRUE(CloseHandle(out));
  EXPECT_TRUE(std::filesystem::exists(home_ / "program" / "game.hi"));

  HANDLE in = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(in, INVALID_HANDLE_VALUE);
  char buffer[8] = {};
  DWORD read = 0;
  EXPECT_TRUE(ReadFile(in, buffer, sizeof buffer, &read, nullptr));
  EXPECT_EQ(read, 3u);
  EXPECT_STREQ(buffer, "abc");
  CloseHandle(in);

  EXPECT_TRUE(DeleteFileW(path.c_str()));
  EXPECT_EQ(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(FilesTest, ClosedHandleIsRefused) {
  std::filesystem::create_directories(home_ / "root");
  HANDLE out = CreateFileW(u"\\f", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(out, INVALID_HANDLE_VALUE);
  CloseHandle(out);
  DWORD written = 1;
  EXPECT_FALSE(WriteFile(out, "x", 1, &written, nullptr));
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

}  // namespace
