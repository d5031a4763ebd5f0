#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/kernel.h"
#include "platform/user.h"
#include "test_support/device_home.h"

namespace {

std::vector<UINT> seen;  // messages that reached the test window procedure, in order

LRESULT RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  seen.push_back(message);
  return DefWindowProcW(window, message, wParam, lParam);
}

class MessagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seen.clear();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.lpszClassName = u"TestWindowClass";
    RegisterClassW(&windowClass);
  }
  test_support::ScopedDeviceHome home_;
};

TEST_F(MessagesTest, ThreadMessagesArriveInOrderAndQuitEndsTheLoop) {
  DWORD self = GetCurrentThreadId();
  PostThreadMessageW(self, WM_USER + 1, 10, 20);
  PostThreadMessageW(self, WM_USER + 2, 0, 0);
  PostQuitMessage(3);
  MSG message;
  ASSERT_EQ(GetMessageW(&message, nullptr, 0, 0), TRUE);
  EXPECT_EQ(message.message, WM_USER + 1);
  EXPECT_EQ(message.wParam, 10u);
  EXPECT_EQ(message.lParam, 20);
  EXPECT_EQ(message.hwnd, nullptr);
  ASSERT_EQ(GetMessageW(&message, nullptr, 0, 0), TRUE);
  EXPECT_EQ(message.message, WM_USER + 2);
  EXPECT_EQ(GetMessageW(&message, nullptr, 0, 0), FALSE);
  EXPECT_EQ(message.wParam, 3u);
}

TEST_F(MessagesTest, PostFromAnotherThreadWakesAWaitingLoop) {
  DWORD self = GetCurrentThreadId();
  std::thread poster([self] { PostThreadMessageW(self, WM_USER + 7, 0, 0); });
  MSG message;
  ASSERT_EQ(GetMessageW(&message, nullptr, 0, 0), TRUE);
  EXPECT_EQ(message.message, WM_USER + 7);
  poster.join();
}

TEST_F(MessagesTest, WindowLifeSendsCreateAndDestroyAndCloseDestroys) {
  HWND window = CreateWindowExW(0, u"TestWindowClass", u"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(FindWindowW(u"testwindowclass", nullptr), window);
  PostMessageW(window, WM_CLOSE, 0, 0);
  MSG message;
  ASSERT_EQ(GetMessageW(&message, nullptr, 0, 0), TRUE);
  DispatchMessageW(&message);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_CREATE, WM_CLOSE, WM_DESTROY}));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(FindWindowW(u"TestWindowClass", nullptr), nullptr);
}

TEST_F(MessagesTest, TimersTickAfterPostedMessagesAndStopWhenKilled) {
  HWND window = CreateWindowExW(0, u"TestWindowClass", u"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_EQ(SetTimer(window, 2, 10, nullptr), 2u);
  Sleep(30);
  PostMessageW(window, WM_USER, 0, 0);
  MSG message;
  ASSERT_EQ(GetMessageW(&message, nullptr, 0, 0), TRUE);
  EXPECT_EQ(message.message, WM_USER);  // posted messages go before a due timer
  ASSERT_EQ(GetMessageW(&message, nullptr, 0, 0), TRUE);
  EXPECT_EQ(message.message, WM_TIMER);
  EXPECT_EQ(message.hwnd, window);
  EXPECT_EQ(message.wParam, 2u);
  ASSERT_EQ(GetMessageW(&message, nullptr, 0, 0), TRUE);
  EXPECT_EQ(message.message, WM_TIMER);  // a timer repeats until killed
  EXPECT_TRUE(KillTimer(window, 2));
  Sleep(30);
  EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
  DestroyWindow(window);
}

TEST_F(MessagesTest, DestroyingAWindowEndsItsTimers) {
  HWND window = CreateWindowExW(0, u"TestWindowClass", u"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                nullptr, nullptr);
  SetTimer(window, 3, 10, nullptr);
  DestroyWindow(window);
  Sleep(30);
  MSG message;
  EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessagesTest, TranslateTurnsEnterIntoACharacter) {
  MSG key{nullptr, WM_KEYDOWN, VK_RETURN, 1, 0, {}};
  EXPECT_TRUE(TranslateMessage(&key));
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, WM_CHAR);
  EXPECT_EQ(message.wParam, static_cast<WPARAM>(u'\r'));
}

TEST_F(MessagesTest, PostingToAThreadThatDoesNotExistFails) {
  EXPECT_FALSE(PostThreadMessageW(0x3FFFFF, WM_USER, 0, 0));
}

}  // namespace
