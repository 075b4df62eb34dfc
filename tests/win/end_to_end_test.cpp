// The built control panel as its own process against the simulated unit,
// driven from outside through its windows, as an operator would.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/controls_and_menus.h"
#include "tests/support/panel_starts.h"
#include "tests/support/screen_reading.h"
#include "tests/support/simulated_unit.h"
#include "tools/panel-driver/program_process.h"
#include "tools/panel-driver/session_environment.h"
#include "tools/panel-driver/waiting.h"

namespace {
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kGrey = RGB(238, 238, 238);

// Left edges of the frames around buttons the tests use (client pixels).
struct FramePoint {
  int x, y;
};
const FramePoint kHdmi1Frame{169, 40};   // video input 4
const FramePoint kVga2Frame{88, 80};     // video input 3
const FramePoint kAudio1Frame{7, 140};   // audio input 0

class EndToEnd : public testing::Test {
 protected:
  void SetUp() override {
    // Each test meets a unit in its factory state.
    std::size_t before = simTranscript().size();
    ASSERT_TRUE(sendToSim("<DEFAULT>"));
    ASSERT_TRUE(waitFor([&] {
      std::vector<std::string> lines = simTranscript();
      return std::find(lines.begin() + static_cast<long>(std::min(before, lines.size())), lines.end(),
                       "tcp <DEFAULT>") != lines.end();
    }));
    transcriptStart_ = simTranscript().size();
    ASSERT_TRUE(program_.started());
    portItem_ = 800 + listedPortIndex(simPortName());
    ASSERT_GE(portItem_, 800);
  }

  HWND main() const { return program_.mainWindow(); }

  void connect() {
    PostMessageW(main(), WM_COMMAND, static_cast<WPARAM>(portItem_), 0);
    ASSERT_TRUE(waitForReceived(5)) << joined(received());
    // The last replies ("<SW>") have been parsed once the pane shows them.
    ASSERT_TRUE(waitFor([&] { return paneText().find(L"FLMCU SW Versions") != std::wstring::npos; }, 5000));
  }

  std::vector<std::string> received() const { return simReceivedSince(transcriptStart_); }
  bool waitForReceived(std::size_t count) {
    return waitFor([&] { return received().size() >= count; }, 5000);
  }
  std::string lastReceived() const {
    std::vector<std::string> all = received();
    return all.empty() ? "" : all.back();
  }

  std::wstring paneText() const { return windowText(GetDlgItem(main(), 1002)); }

  bool waitForPixel(HWND window, FramePoint at, COLORREF colour) {
    return waitFor([&] { return clientPixel(window, at.x, at.y) == colour; }, 5000);
  }

  void click(int id) { SendMessageW(GetDlgItem(main(), id), BM_CLICK, 0, 0); }

  // Opens a settings window from the menu; the commands it sends on opening
  // follow the five of the connection.
  HWND openSettings(int menuId, const wchar_t* title, const std::vector<std::string>& queries) {
    PostMessageW(main(), WM_COMMAND, static_cast<WPARAM>(menuId), 0);
    HWND window = waitForWindow(L"zaro_subwin", title);
    if (queries.empty()) return window;
    EXPECT_TRUE(waitForReceived(5 + queries.size())) << joined(received());
    std::vector<std::string> all = received();
    if (all.size() >= 5 + queries.size()) {
      EXPECT_EQ(std::vector<std::string>(all.begin() + 5, all.begin() + 5 + static_cast<long>(queries.size())),
                queries);
    }
    return window;
  }

  static std::string joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines) all += line + " | ";
    return all;
  }

  std::size_t transcriptStart_ = 0;
  // The program starts with the fixture; replies left on the line before go first.
  bool drained_ = (drainRigLines(), true);
  ProgramProcess program_;
  int portItem_ = 0;
};
}  // namespace

TEST_F(EndToEnd, StartsListsItsPortsAndExitsWithZero) {
  EXPECT_EQ(windowText(main()), L"Tervane VRX 2600 Control");
  RECT client;
  GetClientRect(main(), &client);
  EXPECT_EQ(client.right, 551);
  EXPECT_EQ(client.bottom, 278);
  EXPECT_EQ(program_.close(), 0);
  std::string output = program_.standardOutput();
  EXPECT_NE(output.find("Registry method reports\r\n"), std::string::npos) << output;
  // Every mapped port, one a line, the unit's among them.
  for (const char* port : {"\nCOM2\r\n", "\nCOM7\r\n", "\nCOM8\r\n"})
    EXPECT_NE(output.find(port), std::string::npos) << port << " in " << output;
}

TEST_F(EndToEnd, ConnectingSendsTheOpeningSequenceAndFramesTheUnitsInputs) {
  connect();
  std::vector<std::string> expected = {"<BellOff>", "R SOURCE.", "R AUDIO.", "<BellStatus>", "<SW>"};
  EXPECT_EQ(received(), expected);
  std::wstring pane = paneText();
  EXPECT_EQ(pane.rfind(L"System> Opened COM2\r\nTx> <BellOff>\r\n", 0), 0u) << pane.substr(0, 80);
  EXPECT_NE(pane.find(L"\nRx>"), std::wstring::npos);
  EXPECT_NE(pane.find(L">Video Input: HDMI1\r\n"), std::wstring::npos);
  EXPECT_TRUE(waitForPixel(main(), kHdmi1Frame, kGreen));
  EXPECT_TRUE(waitForPixel(main(), kAudio1Frame, kGreen));
  EXPECT_EQ(clientPixel(main(), kVga2Frame.x, kVga2Frame.y), kGrey);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(main(), 600)));
}

TEST_F(EndToEnd, NetworkSettingsRoundTrip) {
  connect();
  HWND window = openSettings(3003, L"Network Settings", {"<SIPR>", "<SPORT>", "<SUBR>", "<GAR>"});
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(waitFor([&] {
    return showsLine(window, 8, 8, L"Current IP address: 192.168.1.20 : 1024");
  }));
  const wchar_t* octets[] = {L"10", L"0", L"0", L"7"};
  for (int i = 0; i < 4; ++i) {
    HWND edit = childAt(window, L"Edit", 161 + 48 * i, 92);
    ASSERT_NE(edit, nullptr) << i;
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(octets[i]));
  }
  SendMessageW(GetDlgItem(window, 1047), BM_CLICK, 0, 0);
  ASSERT_TRUE(waitForReceived(10));
  EXPECT_EQ(lastReceived(), "<SIPR[10-0-0-7]>\\0\\0\\0\\0\\0\\0\\0\\0");
  EXPECT_EQ(windowText(childAt(window, L"Edit", 161, 92)), L"");
  // Reopened, the window reads the new address back from the unit.
  PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(waitFor([&] { return !IsWindow(window); }));
  PostMessageW(main(), WM_COMMAND, 3003, 0);
  window = waitForWindow(L"zaro_subwin", L"Network Settings");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(waitForReceived(14));
  EXPECT_TRUE(waitFor([&] {
    return showsLine(window, 8, 8, L"Current IP address: 10.0.0.7 : 1024");
  })) << differingLinePixels(window, 8, 8, L"Current IP address: 10.0.0.7 : 1024");
}

TEST_F(EndToEnd, ARealMouseClickPicksAnInput) {
  connect();
  // The "CV" button's middle.
  clickWithMouse(main(), 8 + 36, 28 + 15);
  ASSERT_TRUE(waitForReceived(6)) << joined(received());
  EXPECT_EQ(lastReceived(), "S SOURCE 0.");
  EXPECT_TRUE(waitForPixel(main(), FramePoint{7, 40}, kGreen));
}
