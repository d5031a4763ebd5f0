#include "platform/wsprintf.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/files.h"

namespace {

std::string Format(const WCHAR* format, auto... args) {
  WCHAR buffer[1024];
  const int n = wsprintfW(buffer, format, args...);
  EXPECT_EQ(static_cast<size_t>(n), std::u16string(buffer).size());
  return platform::ToUtf8(buffer);
}

TEST(WsprintfTest, FormatsTheConversionsTheProgramsUse) {
  EXPECT_EQ(Format(u"%s%s.hi", u"\\Program Files\\V\\", u"vortekan"),
            "\\Program Files\\V\\vortekan.hi");
  EXPECT_EQ(Format(u"%s%s.sv%d", u"\\d\\", u"v", 6), "\\d\\v.sv6");
  EXPECT_EQ(Format(u"key%d", 14), "key14");
  EXPECT_EQ(Format(u"%d %i %u", -42, 7, 4000000000u), "-42 7 4000000000");
  EXPECT_EQ(Format(u"%x %X %04x", 0xbeefu, 0xbeefu, 0xau), "beef BEEF 000a");
  EXPECT_EQ(Format(u"[%5d][%-5d][%05d]", 42, 42, -42), "[   42][42   ][-0042]");
  EXPECT_EQ(Format(u"%c%%%ld", u'A', 5), "A%5");
  EXPECT_EQ(Format(u"%s", static_cast<const WCHAR*>(nullptr)), "(null)");
}

TEST(WsprintfTest, StopsAt1023Characters) {
  const std::u16string longText(2000, u'x');
  WCHAR buffer[1024];
  EXPECT_EQ(wsprintfW(buffer, u"%s", longText.c_str()), 1023);
  EXPECT_EQ(buffer[1023], 0);
}

}  // namespace
