#include "platform/telephony.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/line_provider.h"
#include "platform/sync.h"
#include "test_support/device_home.h"

namespace {

using platform::telephony::ConnectCall;
using platform::telephony::DisconnectCall;

struct LineApp {
  HLINEAPP app = 0;
  DWORD devices = 0;
  HANDLE event = nullptr;
};

LineApp Initialize() {
  LineApp result;
  DWORD version = TAPI_VERSION_2_0;
  LINEINITIALIZEEXPARAMS params{};
  params.dwTotalSize = sizeof params;
  params.dwOptions = LINEINITIALIZEEXOPTION_USEEVENT;
  EXPECT_EQ(
      lineInitializeEx(&result.app, nullptr, nullptr, nullptr, &result.devices, &version, &params),
      0);
  result.event = params.Handles.hEvent;
  return result;
}

std::u16string LineName(HLINEAPP app, DWORD device) {
  std::vector<uint8_t> block(512);
  auto* caps = reinterpret_cast<LINEDEVCAPS*>(block.data());
  caps->dwTotalSize = static_cast<DWORD>(block.size());
  if (lineGetDevCaps(app, device, TAPI_VERSION_2_0, 0, caps) != 0) return u"(failed)";
  return reinterpret_cast<const char16_t*>(block.data() + caps->dwLineNameOffset);
}

class TelephonyTest : public ::testing::Test {
 protected:
  test_support::ScopedDeviceHome home_;
};

TEST_F(TelephonyTest, TheProfileDecidesTheDevicesLines) {
  struct Case {
    const char* file;  // null: no profile file
    std::vector<std::u16string> lines;
  };
  const Case cases[] = {
      {nullptr, {u"Cellular Line"}},
      {"", {}},
      {"Modem\nCellular Line\nCellular Line\n", {u"Modem", u"Cellular Line", u"Cellular Line"}},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(home_.Path() / "lines");
    if (c.file) std::ofstream(home_.Path() / "lines") << c.file;
    LineApp line = Initialize();
    ASSERT_EQ(line.devices, c.lines.size()) << (c.file ? c.file : "(no file)");
    for (DWORD i = 0; i < line.devices; ++i) EXPECT_EQ(LineName(line.app, i), c.lines[i]);
    lineShutdown(line.app);
  }
}

TEST_F(TelephonyTest, CapabilitiesTellTheNeededSizeWhenTheNameDoesNotFit) {
  LineApp line = Initialize();
  LINEDEVCAPS caps{};
  caps.dwTotalSize = sizeof caps;
  ASSERT_EQ(lineGetDevCaps(line.app, 0, TAPI_VERSION_2_0, 0, &caps), 0);
  EXPECT_EQ(caps.dwNeededSize, sizeof caps + sizeof(u"Cellular Line"));
  EXPECT_EQ(caps.dwLineNameSize, 0u);
  caps.dwTotalSize = sizeof caps - 1;
  EXPECT_EQ(lineGetDevCaps(line.app, 0, TAPI_VERSION_2_0, 0, &caps), LINEERR_STRUCTURETOOSMALL);
  EXPECT_EQ(lineGetDevCaps(line.app, 1, TAPI_VERSION_2_0, 0, &caps), LINEERR_BADDEVICEID);
  lineShutdown(line.app);
}

TEST_F(TelephonyTest, CallStatesReachAnOpenLineInOrder) {
  LineApp line = Initialize();
  HLINE opened = 0;
  ASSERT_EQ(lineOpen(line.app, 0, &opened, TAPI_VERSION_2_0, 0, 7,
                     LINECALLPRIVILEGE_MONITOR | LINECALLPRIVILEGE_OWNER,
                     LINEMEDIAMODE_INTERACTIVEVOICE, nullptr),
            0);
  constexpr int kCalls = 500;  // 1,000 connects and disconnects, 1,500 state changes
  for (int i = 0; i < kCalls; ++i) {
    ASSERT_TRUE(ConnectCall(0, i % 2 ? LINEMEDIAMODE_DATAMODEM : LINEMEDIAMODE_INTERACTIVEVOICE));
    ASSERT_TRUE(DisconnectCall(0, std::nullopt));
  }
  const DWORD expectedStates[] = {LINECALLSTATE_CONNECTED, LINECALLSTATE_DISCONNECTED,
                                  LINECALLSTATE_IDLE};
  for (int i = 0; i < kCalls * 3; ++i) {
    LINEMESSAGE message{};
    ASSERT_EQ(lineGetMessage(line.app, &message, 5000), 0) << "message " << i;
    EXPECT_EQ(message.dwMessageID, LINE_CALLSTATE);
    EXPECT_EQ(message.dwCallbackInstance, 7u);
    ASSERT_EQ(message.dwParam1, expectedStates[i % 3]) << "message " << i;
    if (i % 3 == 0) {
      LINECALLINFO info{};
      info.dwTotalSize = sizeof info;
      ASSERT_EQ(lineGetCallInfo(message.hDevice, &info), 0);
      EXPECT_EQ(info.dwMediaMode,
                (i / 3) % 2 ? LINEMEDIAMODE_DATAMODEM : LINEMEDIAMODE_INTERACTIVEVOICE);
      EXPECT_EQ(info.dwCallID, static_cast<DWORD>(i / 3 + 1));
    }
  }
  LINEMESSAGE extra;
  EXPECT_EQ(lineGetMessage(line.app, &extra, 0), LINEERR_OPERATIONFAILED);
  EXPECT_EQ(WaitForSingleObject(line.event, 0), WAIT_TIMEOUT);
  lineShutdown(line.app);
}

TEST_F(TelephonyTest, ACallOnAnotherOrAClosedLineIsNotHeard) {
  std::ofstream(home_.Path() / "lines") << "Cellular Line\nCellular Line\n";
  LineApp line = Initialize();
  HLINE opened = 0;
  ASSERT_EQ(lineOpen(line.app, 1, &opened, TAPI_VERSION_2_0, 0, 0, LINECALLPRIVILEGE_MONITOR,
                     LINEMEDIAMODE_INTERACTIVEVOICE, nullptr),
            0);
  ConnectCall(0, LINEMEDIAMODE_INTERACTIVEVOICE);
  LINEMESSAGE message;
  EXPECT_NE(lineGetMessage(line.app, &message, 200), 0);
  lineClose(opened);
  ConnectCall(1, LINEMEDIAMODE_INTERACTIVEVOICE);
  EXPECT_NE(lineGetMessage(line.app, &message, 200), 0);
  EXPECT_FALSE(ConnectCall(2, LINEMEDIAMODE_INTERACTIVEVOICE));
  lineShutdown(line.app);
}

}  // namespace
