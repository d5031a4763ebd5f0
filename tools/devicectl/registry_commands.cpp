#include <cstdio>
#include <vector>

#include "commands.h"
#include "platform/registry.h"
#include "platform/wide_text.h"

namespace devicectl {
namespace {

bool SplitKey(const std::string& text, HKEY& root, std::u16string& path) {
  auto slash = text.find('\\');
  std::string rootName = text.substr(0, slash);
  path = slash == std::string::npos ? u"" : platform::FromUtf8(text.substr(slash + 1));
  if (rootName == "HKLM" || rootName == "HKEY_LOCAL_MACHINE") {
    root = HKEY_LOCAL_MACHINE;
  } else if (rootName == "HKCU" || rootName == "HKEY_CURRENT_USER") {
    root = HKEY_CURRENT_USER;
  } else {
    return false;
  }
  return true;
}

bool ParseHex(const std::string& text, std::vector<BYTE>& bytes) {
  if (text.size() % 2) return false;
  for (size_t i = 0; i < text.size(); i += 2) {
    long long value;
    if (!ParseNumber("0x" + text.substr(i, 2), value)) return false;
    bytes.push_back(static_cast<BYTE>(value));
  }
  return true;
}

void PrintValue(DWORD type, const std::vector<BYTE>& data) {
  if (type == REG_DWORD && data.size() == 4) {
    DWORD value = data[0] | data[1] << 8 | data[2] << 16 | static_cast<DWORD>(data[3]) << 24;
    std::printf("REG_DWORD 0x%08x (%d)\n", value, static_cast<int32_t>(value));
  } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
    std::u16string text(data.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
      text[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    while (!text.empty() && text.back() == 0) text.pop_back();
    std::printf("REG_SZ %s\n", platform::ToUtf8(text).c_str());
  } else {
    std::printf(type == REG_BINARY ? "REG_BINARY " : "type %u ", type);
    for (BYTE b : data) std::printf("%02x", b);
    std::printf("\n");
  }
}

int Get(HKEY root, const std::u16string& path, const std::u16string& name) {
  HKEY key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    std::fprintf(stderr, "devicectl: no such key\n");
    return 1;
  }
  DWORD type = 0, size = 0;
  LONG result = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
  std::vector<BYTE> data(size);
  if (result == ERROR_SUCCESS) {
    result = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
  }
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) {
    std::fprintf(stderr, "devicectl: no such value\n");
    return 1;
  }
  data.resize(size);
  PrintValue(type, data);
  return 0;
}

int Set(HKEY root, const std::u16string& path, const std::u16string& name, const std::string& type,
        const std::string& text) {
  DWORD valueType;
  std::vector<BYTE> data;
  long long number;
  if (type == "dword") {
    if (!ParseNumber(text, number) || number < INT32_MIN)
      return Usage("not a 32-bit number: " + text);
    auto value = static_cast<DWORD>(number);
    data = {BYTE(value), BYTE(value >> 8), BYTE(value >> 16), BYTE(value >> 24)};
    valueType = REG_DWORD;
  } else if (type == "sz") {
    for (char16_t c : platform::FromUtf8(text) + u'\0') {
      data.push_back(static_cast<BYTE>(c));
      data.push_back(static_cast<BYTE>(c >> 8));
    }
    valueType = REG_SZ;
  } else if (type == "binary") {
    if (!ParseHex(text, data)) return Usage("not hex bytes: " + text);
    valueType = REG_BINARY;
  } else {
    return Usage("unknown value type " + type);
  }
  HKEY key;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    std::fprintf(stderr, "devicectl: cannot create the key\n");
    return 1;
  }
  LONG result =
      RegSetValueExW(key, name.c_str(), 0, valueType, data.data(), static_cast<DWORD>(data.size()));
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) {
    std::fprintf(stderr, "devicectl: cannot write the value (error %d)\n", result);
    return 1;
  }
  return 0;
}

}  // namespace

int RegistryCommand(const Arguments& args) {
  HKEY root;
  std::u16string path;
  if (args.size() >= 3 && !SplitKey(args[1], root, path))
    return Usage("unknown root in " + args[1]);
  if (args.size() == 3 && args[0] == "get") return Get(root, path, platform::FromUtf8(args[2]));
  if (args.size() == 5 && args[0] == "set") {
    return Set(root, path, platform::FromUtf8(args[2]), args[3], args[4]);
  }
  return Usage("reg get KEY NAME, or reg set KEY NAME TYPE VALUE");
}

}  // namespace devicectl
