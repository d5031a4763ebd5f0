// A writer process killed at random moments leaves the registry whole, with every value either
// old or new.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "platform/registry.h"
#include "test_support/device_home.h"

extern char** environ;

namespace {

std::vector<DWORD> ReadGenerations() {
  std::vector<DWORD> values;
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Writer", 0, 0, &key) != ERROR_SUCCESS) {
    return values;
  }
  for (int i = 0; i < 10; ++i) {
    std::u16string name = u"V" + std::u16string(1, static_cast<char16_t>(u'0' + i));
    DWORD value = 0, type = 0, size = sizeof value;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) == ERROR_SUCCESS &&
        type == REG_DWORD && size == 4) {
      values.push_back(value);
    }
  }
  RegCloseKey(key);
  return values;
}

TEST(RegistryKill, KilledWriterLeavesEveryValueOldOrNew) {
  test_support::ScopedDeviceHome home;
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Writer", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  DWORD zero = 0;
  for (int i = 0; i < 10; ++i) {
    std::u16string name = u"V" + std::u16string(1, static_cast<char16_t>(u'0' + i));
    RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&zero), 4);
  }
  RegCloseKey(key);

  std::mt19937 random(1234);
  std::uniform_int_distribution<int> delayMs(5, 60);
  DWORD lastGeneration = 0;
  for (int round = 0; round < 25; ++round) {
    pid_t writer;
    char* argv[] = {const_cast<char*>(REGISTRY_WRITER), nullptr};
    ASSERT_EQ(posix_spawn(&writer, REGISTRY_WRITER, nullptr, nullptr, argv, environ), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
    kill(writer, SIGKILL);
    int status = 0;
    waitpid(writer, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself in round " << round;

    auto values = ReadGenerations();
    ASSERT_EQ(values.size(), 10u) << "round " << round;
    for (int i = 1; i < 10; ++i) {
      EXPECT_TRUE(values[i] == values[0] || values[i] + 1 == values[0])
          << "round " << round << ": V" << i << " = " << values[i] << ", V0 = " << values[0];
      EXPECT_LE(values[i], values[i - 1]) << "round " << round;
    }
    EXPECT_GE(values[0], lastGeneration);
    lastGeneration = values[0];
  }

  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((home.Path() / "registry.db").c_str(), &db), SQLITE_OK);
  sqlite3_stmt* check = nullptr;
  sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr);
  ASSERT_EQ(sqlite3_step(check), SQLITE_ROW);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok");
  sqlite3_finalize(check);
  sqlite3_close(db);
  std::printf("writer reached generation %u over 25 kills\n", lastGeneration);
}

}  // namespace
