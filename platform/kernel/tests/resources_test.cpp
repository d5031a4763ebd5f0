#include "platform/resources.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kProgramImage = "packed program image";
const std::string kNumbered = std::string("\x00\x01\x02\xff", 4);

std::string ResourceBytes(HRSRC resource) {
  HGLOBAL loaded = LoadResource(nullptr, resource);
  auto* bytes = static_cast<const char*>(LockResource(loaded));
  return std::string(bytes, SizeofResource(nullptr, resource));
}

struct FoundCase {
  const char* label;
  LPCWSTR name;
  LPCWSTR type;
  const std::string* contents;
};

TEST(FindResourceW, FindsByStringOrNumberWithoutRegardToCase) {
  const FoundCase cases[] = {
      {"exact string names", u"VORTEKAN", u"BINDATA", &kProgramImage},
      {"lower-case names", u"vortekan", u"bindata", &kProgramImage},
      {"number", MAKEINTRESOURCEW(100), u"WAVE", &kNumbered},
      {"number written as #text", u"#100", u"Wave", &kNumbered},
  };
  for (const FoundCase& c : cases) {
    SCOPED_TRACE(c.label);
    HRSRC resource = FindResourceW(GetModuleHandleW(nullptr), c.name, c.type);
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(ResourceBytes(resource), *c.contents);
  }
}

struct MissingCase {
  const char* label;
  HMODULE module;
  LPCWSTR name;
  LPCWSTR type;
  DWORD error;
};

TEST(FindResourceW, MissingResourceGivesNullAndTheReason) {
  const HMODULE other = reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x20000));
  const MissingCase cases[] = {
      {"unknown name", nullptr, u"OTHER", u"BINDATA", ERROR_RESOURCE_NAME_NOT_FOUND},
      {"unknown type", nullptr, u"VORTEKAN", u"WAVE2", ERROR_RESOURCE_TYPE_NOT_FOUND},
      {"unknown number", nullptr, MAKEINTRESOURCEW(101), u"WAVE", ERROR_RESOURCE_NAME_NOT_FOUND},
      {"digits without #", nullptr, u"100", u"WAVE", ERROR_RESOURCE_NAME_NOT_FOUND},
      {"prefix of a name", nullptr, u"VORTEK", u"BINDATA", ERROR_RESOURCE_NAME_NOT_FOUND},
      {"another module", other, u"VORTEKAN", u"BINDATA", ERROR_RESOURCE_DATA_NOT_FOUND},
  };
  for (const MissingCase& c : cases) {
    SCOPED_TRACE(c.label);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(FindResourceW(c.module, c.name, c.type), nullptr);
    EXPECT_EQ(GetLastError(), c.error);
  }
}

TEST(LoadResource, RejectsAResourceHandleItDidNotHandOut) {
  int notAResource = 0;
  HRSRC bogus = reinterpret_cast<HRSRC>(&notAResource);
  EXPECT_EQ(LoadResource(nullptr, bogus), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(SizeofResource(nullptr, bogus), 0u);
}

TEST(GetModuleHandleW, KnowsOnlyTheProgramItself) {
  EXPECT_NE(GetModuleHandleW(nullptr), nullptr);
  EXPECT_EQ(GetModuleHandleW(u"coredll.dll"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

}  // namespace
