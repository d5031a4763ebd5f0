// The device control tool as a user runs it: its output, its exit codes, and bad input that
// changes nothing.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "test_support/device_home.h"

namespace {

struct ToolRun {
  int exitCode;
  std::string output;  // stdout and stderr together
};

ToolRun Devicectl(const std::string& arguments) {
  std::string command = std::string(DEVICECTL_PATH) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ToolRun run{-1, {}};
  if (!pipe) return run;
  char buffer[256];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, n);
  int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

class DevicectlTest : public ::testing::Test {
 protected:
  test_support::ScopedDeviceHome home_;
};

TEST_F(DevicectlTest, RegistryValuesRoundTripWithTheirTypes) {
  struct Case {
    const char* set;
    const char* shown;
  };
  const Case cases[] = {
      {"dword -1", "REG_DWORD 0xffffffff (-1)\n"},
      {"dword 0x10002", "REG_DWORD 0x00010002 (65538)\n"},
      {"sz 'Cellular Line'", "REG_SZ Cellular Line\n"},
      {"binary 00ff7f", "REG_BINARY 00ff7f\n"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(
        Devicectl(std::string("reg set 'HKLM\\Software\\Apps\\Callchime' Value ") + c.set).exitCode,
        0)
        << c.set;
    ToolRun get = Devicectl("reg get 'HKLM\\Software\\Apps\\Callchime' value");
    EXPECT_EQ(get.exitCode, 0);
    EXPECT_EQ(get.output, c.shown) << c.set;
  }
}

TEST_F(DevicectlTest, BadInputIsRefusedWithAMessageAndChangesNothing) {
  ASSERT_EQ(Devicectl("reg set 'HKLM\\Test' Kept dword 7").exitCode, 0);
  const char* refused[] = {
      "reg set 'HKLM\\Test' Kept dword seven", "reg set 'HKLM\\Test' Kept dword 0x100000000",
      "reg set 'HKLM\\Test' Kept binary 0g",   "reg set 'HKLM\\Test' Kept qword 1",
      "reg set 'HKXX\\Test' Kept dword 1",     "call connect",
      "call connect --voice --line x",         "frobnicate",
  };
  for (const char* arguments : refused) {
    ToolRun run = Devicectl(arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments;
    EXPECT_NE(run.output.find("devicectl: "), std::string::npos) << arguments;
  }
  EXPECT_EQ(Devicectl("reg get 'HKLM\\Test' Kept").output, "REG_DWORD 0x00000007 (7)\n");
  EXPECT_EQ(Devicectl("reg get 'HKLM\\Test' Absent").exitCode, 1);
}

TEST_F(DevicectlTest, CallsAreNumberedListedAndLogged) {
  EXPECT_EQ(Devicectl("call connect --voice").output, "call 1 line 0 voice connected\n");
  EXPECT_EQ(Devicectl("call connect --data").output, "call 2 line 0 data connected\n");
  EXPECT_EQ(Devicectl("call disconnect --call 2").output, "call 2 line 0 data disconnected\n");
  EXPECT_EQ(Devicectl("call list").output, "call 1 line 0 voice connected\n");
  EXPECT_EQ(Devicectl("call connect --voice --line 1").exitCode, 1);
  ToolRun events = Devicectl("events");
  EXPECT_NE(events.output.find("line0 call 2 disconnected data"), std::string::npos);
  EXPECT_NE(events.output.find("line0 call 2 idle data"), std::string::npos);
  EXPECT_EQ(Devicectl("state").output, "vibrator off\nBKL1: D0 system\n");
}

}  // namespace
