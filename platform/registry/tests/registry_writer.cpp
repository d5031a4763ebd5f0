// Test helper: writes the values V0 ... V9 of HKLM "Software\Writer" over and over, each round
// with the next generation number, until it is killed. Any moment therefore finds V0 ... Vk at
// generation g and Vk+1 ... V9 at g - 1. A new writer continues from V9, the last value of a
// whole round.
#include <string>

#include "platform/registry.h"

int main() {
  HKEY key;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Writer", 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return 1;
  }
  DWORD generation = 0, size = sizeof generation;
  RegQueryValueExW(key, u"V9", nullptr, nullptr, reinterpret_cast<BYTE*>(&generation), &size);
  for (;;) {
    ++generation;
    for (int i = 0; i < 10; ++i) {
      std::u16string name = u"V" + std::u16string(1, static_cast<char16_t>(u'0' + i));
      if (RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&generation),
                         sizeof generation) != ERROR_SUCCESS) {
        return 1;
      }
    }
  }
}
