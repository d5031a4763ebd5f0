#include "platform/resources.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/embedded_resources.h"

namespace platform {
namespace {

// The value that stands for the program's module; the device uses the image's load address.
const HMODULE kProgramModule = reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x10000));

struct ResourceTable {
  std::mutex mutex;
  std::vector<const EmbeddedResource*> entries;
};

// Built on first use, so registrations from other translation units' initialisers are safe.
ResourceTable& Table() {
  static ResourceTable table;
  return table;
}

char16_t FoldCase(char16_t c) {
  return c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c;
}

// "#123" names the number 123, as on the device.
std::optional<uint16_t> NumberFromText(LPCWSTR text) {
  if (text[0] != u'#' || text[1] == 0) return std::nullopt;
  uint32_t value = 0;
  for (LPCWSTR c = text + 1; *c; ++c) {
    if (*c < u'0' || *c > u'9') return std::nullopt;
    value = value * 10 + (*c - u'0');
    if (value > 0xFFFF) return std::nullopt;
  }
  return static_cast<uint16_t>(value);
}

bool Matches(const ResourceId& id, LPCWSTR query) {
  std::optional<uint16_t> number;
  if (IS_INTRESOURCE(query)) {
    number = static_cast<uint16_t>(reinterpret_cast<uintptr_t>(query));
  } else {
    number = NumberFromText(query);
  }
  if (number) return !id.text && id.number == *number;
  if (!id.text) return false;
  const char16_t* a = id.text;
  LPCWSTR b = query;
  for (; *a && *b; ++a, ++b) {
    if (FoldCase(*a) != FoldCase(*b)) return false;
  }
  return *a == 0 && *b == 0;
}

const EmbeddedResource* Registered(HRSRC resource) {
  auto* entry = reinterpret_cast<const EmbeddedResource*>(resource);
  ResourceTable& table = Table();
  std::lock_guard lock(table.mutex);
  bool known = std::find(table.entries.begin(), table.entries.end(), entry) != table.entries.end();
  return known ? entry : nullptr;
}

bool IsProgramModule(HMODULE module) {
  return module == nullptr || module == kProgramModule;
}

}  // namespace

bool RegisterEmbeddedResources(const EmbeddedResource* resources, size_t count) {
  ResourceTable& table = Table();
  std::lock_guard lock(table.mutex);
  for (size_t i = 0; i < count; ++i) table.entries.push_back(&resources[i]);
  return true;
}

}  // namespace platform

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
  if (moduleName == nullptr) return platform::kProgramModule;
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
  if (!platform::IsProgramModule(module)) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  platform::ResourceTable& table = platform::Table();
  std::lock_guard lock(table.mutex);
  bool typeSeen = false;
  // Newest first: a resource registered later hides an earlier one of the same type and name.
  for (auto it = table.entries.rbegin(); it != table.entries.rend(); ++it) {
    const platform::EmbeddedResource* entry = *it;
    if (!platform::Matches(entry->type, type)) continue;
    typeSeen = true;
    if (platform::Matches(entry->name, name)) {
      return reinterpret_cast<HRSRC>(const_cast<platform::EmbeddedResource*>(entry));
    }
  }
  SetLastError(typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
  return nullptr;
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
  const platform::EmbeddedResource* entry = platform::Registered(resource);
  if (!platform::IsProgramModule(module) || !entry) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return const_cast<unsigned char*>(entry->data);
}

DWORD SizeofResource(HMODULE module, HRSRC resource) {
  const platform::EmbeddedResource* entry = platform::Registered(resource);
  if (!platform::IsProgramModule(module) || !entry) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return static_cast<DWORD>(entry->size);
}

LPVOID LockResource(HGLOBAL loaded) {
  return loaded;
}
