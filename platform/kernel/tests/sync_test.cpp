#include "platform/sync.h"

#include <gtest/gtest.h>

#include <atomic>

#include "test_support/device_home.h"

namespace {

TEST(Events, AutoResetReleasesOneWaitThenResets) {
  HANDLE event = CreateEventW(nullptr, FALSE, TRUE, nullptr);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  CloseHandle(event);
}

TEST(Events, ManualResetStaysSignalledUntilReset) {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  EXPECT_EQ(WaitForSingleObject(event, 1), WAIT_TIMEOUT);
  SetEvent(event);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  ResetEvent(event);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  CloseHandle(event);
}

TEST(Handles, ClosedOrUnknownHandlesFailTheWait) {
  HANDLE event = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  CloseHandle(event);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(SetEvent(event));
}

std::atomic<int> runs{0};
DWORD CountRun(LPVOID parameter) {
  ++runs;
  return static_cast<DWORD>(reinterpret_cast<uintptr_t>(parameter));
}

TEST(Threads, SuspendedThreadRunsOnlyAfterResumeAndKeepsItsExitCode) {
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, CountRun, reinterpret_cast<LPVOID>(uintptr_t{42}),
                               CREATE_SUSPENDED, &id);
  ASSERT_NE(thread, nullptr);
  EXPECT_NE(id, 0u);
  EXPECT_NE(id, GetCurrentThreadId());
  EXPECT_EQ(WaitForSingleObject(thread, 5), WAIT_TIMEOUT);
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(ResumeThread(thread), 1u);
  EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, 42u);
  EXPECT_EQ(runs, 1);
  CloseHandle(thread);
}

DWORD WaitForever(LPVOID event) {
  WaitForSingleObject(static_cast<HANDLE>(event), INFINITE);
  return 0;
}

TEST(Threads, TerminatedThreadCountsAsEndedWithTheGivenCode) {
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, WaitForever, release, 0, nullptr);
  EXPECT_EQ(WaitForSingleObject(thread, 5), WAIT_TIMEOUT);
  EXPECT_TRUE(TerminateThread(thread, static_cast<DWORD>(-1)));
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeThread(thread, &code);
  EXPECT_EQ(code, static_cast<DWORD>(-1));
  SetEvent(release);  // lets the host thread finish
  CloseHandle(thread);
}

TEST(Mutexes, NamedMutexReportsThatItExistsWhileAHandleIsOpen) {
  test_support::ScopedDeviceHome home;
  HANDLE first = CreateMutexW(nullptr, FALSE, u"_TEST_MUTEX_");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  HANDLE second = CreateMutexW(nullptr, FALSE, u"_TEST_MUTEX_");
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  CloseHandle(second);
  CloseHandle(first);
  HANDLE again = CreateMutexW(nullptr, FALSE, u"_TEST_MUTEX_");
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  CloseHandle(again);
}

TEST(Mutexes, OwnershipIsRecursiveForTheOwnerAndReleasedOnlyByIt) {
  HANDLE mutex = CreateMutexW(nullptr, TRUE, nullptr);
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_FALSE(ReleaseMutex(mutex));
  CloseHandle(mutex);
}

}  // namespace
