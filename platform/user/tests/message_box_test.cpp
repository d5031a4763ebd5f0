#include <gtest/gtest.h>

#include <string>

#include "platform/user.h"

namespace {

struct HeadlessCase {
  UINT type;
  int answer;
};

TEST(MessageBoxW, HeadlessPrintsCaptionAndTextAndPressesTheFirstButton) {
  const HeadlessCase cases[] = {
      {MB_OK | MB_ICONHAND, IDOK}, {MB_OKCANCEL, IDOK},       {MB_YESNO, IDYES},
      {MB_YESNOCANCEL, IDYES},     {MB_RETRYCANCEL, IDRETRY}, {MB_ABORTRETRYIGNORE, IDABORT},
  };
  for (const HeadlessCase& c : cases) {
    SCOPED_TRACE(c.type);
    testing::internal::CaptureStderr();
    int answer = MessageBoxW(nullptr, u"Failed to initialize TAPI.", u"Callchime", c.type);
    std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, c.answer);
    EXPECT_EQ(printed, "[Callchime] Failed to initialize TAPI.\n");
  }
}

TEST(MessageBoxW, PrintsTextBeyondAsciiAsUtf8) {
  testing::internal::CaptureStderr();
  MessageBoxW(nullptr, u"Gr\u00fc\u00dfe \u2192 \U0001F3B5", u"", MB_OK);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "[] Gr\u00fc\u00dfe \u2192 \U0001F3B5\n");
}

struct Shown {
  std::u16string text;
  std::u16string caption;
  UINT type = 0;
};
Shown lastShown;

int RecordingPresenter(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
  lastShown = {text, caption, type};
  return IDNO;
}

TEST(MessageBoxW, AnInstalledPresenterShowsTheBoxAndGivesTheAnswer) {
  platform::SetMessageBoxPresenter(RecordingPresenter);
  testing::internal::CaptureStderr();
  int answer = MessageBoxW(nullptr, u"High score has been cleared", u"Vortekan", MB_YESNO);
  std::string printed = testing::internal::GetCapturedStderr();
  platform::SetMessageBoxPresenter(nullptr);

  EXPECT_EQ(answer, IDNO);
  EXPECT_EQ(printed, "");
  EXPECT_EQ(lastShown.text, u"High score has been cleared");
  EXPECT_EQ(lastShown.caption, u"Vortekan");
  EXPECT_EQ(lastShown.type, MB_YESNO);
}

}  // namespace
