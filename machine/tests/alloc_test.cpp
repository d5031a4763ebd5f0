// Runs with VDEVICE_MEMORY_MB=1: the device has one megabyte for this process.
#include "machine/alloc.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <cstdint>
#include <string>

namespace machine {
namespace {

void* AllocateTooMuch(void* returned) {
  AllocZeroed(2u << 20);
  *static_cast<bool*>(returned) = true;
  return nullptr;
}

TEST(AllocZeroedTest, GivesZeroFilledMemory) {
  auto* block = static_cast<uint8_t*>(AllocZeroed(100000));
  for (int i = 0; i < 100000; i += 999) ASSERT_EQ(block[i], 0);
  FreeBlock(block);
  FreeBlock(nullptr);
  FreeBlock(reinterpret_cast<void*>(UINTPTR_MAX));
}

TEST(AllocZeroedTest, OutOfMemoryShowsTheBoxAndEndsTheThread) {
  bool returned = false;
  ::testing::internal::CaptureStderr();
  pthread_t thread;
  ASSERT_EQ(pthread_create(&thread, nullptr, AllocateTooMuch, &returned), 0);
  pthread_join(thread, nullptr);
  const std::string shown = ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(returned);
  EXPECT_NE(shown.find("There is not enough memory available to run this program successfully."),
            std::string::npos)
      << shown;
  EXPECT_NE(shown.find("Quorbix"), std::string::npos) << shown;
}

}  // namespace
}  // namespace machine
