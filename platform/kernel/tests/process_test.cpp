#include "platform/process.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/sync.h"
#include "platform/wide_text.h"
#include "test_support/device_home.h"

namespace {

TEST(ProcessNames, TheHostFileNameGetsTheDevicesExeSuffixOnce) {
  struct Case {
    const char* host;
    std::u16string device;
  };
  const Case cases[] = {
      {"/opt/build/service/Callchime", u"Callchime.exe"},
      {"Callchime.exe", u"Callchime.exe"},
      {"CALLCHIME.EXE", u"CALLCHIME.EXE"},
      {"tool.exe.old", u"tool.exe.old.exe"},
      {"exe", u"exe.exe"},
  };
  for (const auto& c : cases) EXPECT_EQ(platform::DeviceProcessName(c.host), c.device) << c.host;
}

TEST(DeviceProcesses, AJoinedProcessIsListedWithItsThreadsAndFoundBySnapshot) {
  test_support::ScopedDeviceHome home;
  platform::JoinDevice();
  auto processes = platform::ListDeviceProcesses();
  ASSERT_EQ(processes.size(), 1u);
  EXPECT_EQ(processes[0].id, GetCurrentProcessId());
  EXPECT_EQ(processes[0].exeName, u"platform_process_test.exe");
  EXPECT_EQ(platform::ProcessOfThread(GetCurrentThreadId()), GetCurrentProcessId());

  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD, 0);
  PROCESSENTRY32 process{};
  process.dwSize = sizeof process;
  ASSERT_TRUE(Process32First(snapshot, &process));
  EXPECT_EQ(process.th32ProcessID, GetCurrentProcessId());
  EXPECT_EQ(std::u16string(process.szExeFile), u"platform_process_test.exe");
  EXPECT_FALSE(Process32Next(snapshot, &process));
  THREADENTRY32 thread{};
  thread.dwSize = sizeof thread;
  bool foundSelf = false;
  for (BOOL more = Thread32First(snapshot, &thread); more; more = Thread32Next(snapshot, &thread)) {
    EXPECT_EQ(thread.th32OwnerProcessID, GetCurrentProcessId());
    foundSelf = foundSelf || thread.th32ThreadID == GetCurrentThreadId();
  }
  EXPECT_TRUE(foundSelf);
  CloseToolhelp32Snapshot(snapshot);
}

TEST(DeviceProcesses, EntriesOfEndedProcessesAreIgnored) {
  test_support::ScopedDeviceHome home;
  std::filesystem::create_directories(home.Path() / "processes");
  // pid 1 exists but started long before: its start time cannot match.
  std::ofstream(home.Path() / "processes" / "1") << "0\nGhost.exe\n";
  std::ofstream(home.Path() / "processes" / "junk") << "not a process\n";
  EXPECT_TRUE(platform::ListDeviceProcesses().empty());
  EXPECT_FALSE(platform::IsDeviceProcess(1));
  EXPECT_EQ(OpenProcess(0, FALSE, 1), nullptr);
}

TEST(WideText, NamesCompareWithoutAsciiCase) {
  EXPECT_TRUE(platform::EqualsIgnoreCase(u"Callchime.exe", u"CALLCHIME.EXE"));
  EXPECT_FALSE(platform::EqualsIgnoreCase(u"Callchime.exe", u"Callchime.ex"));
  EXPECT_EQ(platform::WideView(nullptr), u"");
}

}  // namespace
