#include "platform/memory.h"

#include <gtest/gtest.h>

namespace {

TEST(VirtualAllocTest, CommitsZeroFilledMemoryAndReleasesIt) {
  auto* block = static_cast<uint8_t*>(VirtualAlloc(nullptr, 70000, MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 70000; i += 997) EXPECT_EQ(block[i], 0) << i;
  block[69999] = 1;
  EXPECT_TRUE(VirtualFree(block, 0, MEM_RELEASE));
  EXPECT_FALSE(VirtualFree(block, 0, MEM_RELEASE));
}

TEST(VirtualAllocTest, RefusesWhatItDoesNotSupport) {
  EXPECT_EQ(VirtualAlloc(nullptr, 0, MEM_COMMIT, PAGE_READWRITE), nullptr);
  EXPECT_EQ(VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_READWRITE), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace
