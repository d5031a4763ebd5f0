#include "platform/registry.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "test_support/device_home.h"

namespace {

class RegistryTest : public ::testing::Test {
 protected:
  HKEY Create(HKEY root, const WCHAR* path) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    EXPECT_EQ(
        RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition),
        ERROR_SUCCESS);
    return key;
  }
  test_support::ScopedDeviceHome home_;
};

TEST_F(RegistryTest, ValuesKeepTheTypeTheyWereWrittenWith) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, u"Software\\Test");
  const BYTE dword[] = {5, 0, 0, 0};
  const char16_t text[] = u"five";
  const BYTE blob[] = {1, 2, 3};
  struct Case {
    const WCHAR* name;
    DWORD type;
    const BYTE* data;
    DWORD size;
  };
  const Case cases[] = {
      {u"Number", REG_DWORD, dword, sizeof dword},
      {u"Text", REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text},
      {u"Blob", REG_BINARY, blob, sizeof blob},
      {u"Empty", REG_BINARY, nullptr, 0},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(RegSetValueExW(key, c.name, 0, c.type, c.data, c.size), ERROR_SUCCESS);
  }
  for (const auto& c : cases) {
    DWORD type = 0;
    BYTE buffer[64] = {};
    DWORD size = sizeof buffer;
    ASSERT_EQ(RegQueryValueExW(key, c.name, nullptr, &type, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, c.type);
    ASSERT_EQ(size, c.size);
    EXPECT_EQ(std::vector<BYTE>(buffer, buffer + size), std::vector<BYTE>(c.data, c.data + c.size));
  }
  RegCloseKey(key);
}

TEST_F(RegistryTest, NamesCompareWithoutCaseAndAValueCanBeReplaced) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, u"Software\\Apps\\Callchime");
  DWORD one = 1, two = 2;
  RegSetValueExW(key, u"TurnOffScr", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4);
  RegSetValueExW(key, u"TURNOFFSCR", 0, REG_DWORD, reinterpret_cast<BYTE*>(&two), 4);
  RegCloseKey(key);
  HKEY again;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"software\\apps\\CALLCHIME", 0, 0, &again),
            ERROR_SUCCESS);
  DWORD value = 0, size = 4, values = 0;
  EXPECT_EQ(RegQueryValueExW(again, u"turnoffscr", nullptr, nullptr,
                             reinterpret_cast<BYTE*>(&value), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(value, 2u);
  RegQueryInfoKeyW(again, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                   nullptr, nullptr, nullptr);
  EXPECT_EQ(values, 1u);
  RegCloseKey(again);
}

TEST_F(RegistryTest, MissingKeysAndValuesAreNotFoundAndShortBuffersAskForMore) {
  HKEY key;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Nothing", 0, 0, &key),
            ERROR_FILE_NOT_FOUND);
  key = Create(HKEY_CURRENT_USER, u"Software\\Something");
  EXPECT_EQ(RegQueryValueExW(key, u"Absent", nullptr, nullptr, nullptr, nullptr),
            ERROR_FILE_NOT_FOUND);
  const char16_t text[] = u"longer than four";
  RegSetValueExW(key, u"Text", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
  BYTE small[4];
  DWORD size = sizeof small;
  EXPECT_EQ(RegQueryValueExW(key, u"Text", nullptr, nullptr, small, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, sizeof text);
  RegCloseKey(key);
}

TEST_F(RegistryTest, CreatingANestedKeyCreatesItsParentsAndInfoCountsThem) {
  RegCloseKey(Create(HKEY_LOCAL_MACHINE, u"A\\B\\C"));
  RegCloseKey(Create(HKEY_LOCAL_MACHINE, u"A\\Bee"));
  HKEY parent;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"A", 0, 0, &parent), ERROR_SUCCESS);
  DWORD subKeys = 0, longestSubKey = 0, longestValue = 99;
  ASSERT_EQ(RegQueryInfoKeyW(parent, nullptr, nullptr, nullptr, &subKeys, &longestSubKey, nullptr,
                             nullptr, nullptr, &longestValue, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(subKeys, 2u);
  EXPECT_EQ(longestSubKey, 3u);
  EXPECT_EQ(longestValue, 0u);
  HKEY child;
  EXPECT_EQ(RegOpenKeyExW(parent, u"B\\C", 0, 0, &child), ERROR_SUCCESS);
  RegCloseKey(child);
  RegCloseKey(parent);
}

TEST(RegistryDamage, ADatabaseFileThatIsNotARegistryIsReportedAndKept) {
  test_support::ScopedDeviceHome home;
  const std::string junk(4096, 'x');
  std::ofstream(home.Path() / "registry.db", std::ios::binary) << junk;
  HKEY key;
  EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_BADDB);
  std::ifstream kept(home.Path() / "registry.db", std::ios::binary);
  std::string content((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
  EXPECT_EQ(content, junk);
}

}  // namespace
