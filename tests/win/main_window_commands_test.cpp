// What the operator's buttons, menu items, level trackbars and the Send row
// put on the wire, and the boxes, pane toggle and exits of the main window.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "links/serial_link.h"
#include "protocol/control_state.h"
#include "tools/harness/byte_text.h"
#include "tools/harness/controls_and_menus.h"
#include "tools/harness/import_patch.h"
#include "tools/harness/message_box_watcher.h"
#include "tools/harness/panel_fixtures.h"
#include "tools/harness/panel_in_process.h"
#include "tools/harness/session_environment.h"
#include "tools/harness/unit_peer.h"
#include "tools/harness/waiting.h"
#include "ui/main/main_window.h"
#include "ui/main/startup.h"

namespace {
class MainWindowCommands : public PanelTest {};

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// A connected panel with the opening queries already read off the line.
class ConnectedPanel : public PanelTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(peer.isOpen());
    ASSERT_NE(startPanel(), nullptr);
    ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
    peer.drain();
  }
  void command(int id) { SendMessageW(mainWindowState.mainWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  void click(int id) { SendMessageW(GetDlgItem(mainWindowState.mainWindow, id), BM_CLICK, 0, 0); }
  // Plays the unit answering and waits until the answer has been handled.
  void reply(const std::string& text) {
    ASSERT_TRUE(peer.write(text));
    std::wstring echo = L"Rx>" + std::wstring(text.begin(), text.end());
    ASSERT_TRUE(waitFor([&] {
      std::wstring all = paneText();
      return all.size() >= echo.size() && all.compare(all.size() - echo.size(), echo.size(), echo) == 0;
    }));
  }
  UnitPeer peer{testPeerName()};
};

struct Expected {
  int id;
  bool menuItem;   // chosen from the menu bar rather than clicked
  std::string bytes;
};

std::vector<Expected> commandTable() {
  std::vector<Expected> rows;
  for (int k = 0; k < 10; ++k) rows.push_back({500 + 4 * k, false, "S AUDIO " + std::to_string(k) + "."});
  for (int k = 0; k < 7; ++k) rows.push_back({600 + 4 * k, false, "S SOURCE " + std::to_string(k) + "."});
  rows.push_back({628, false, "S SOURCE 7."});   // "Display\nPort"
  rows.push_back({632, false, "S SOURCE 8."});   // "HDBaseT"
  rows.push_back({1012, false, "B+ OUTPUT%"});
  rows.push_back({1013, false, "B- OUTPUT%"});
  rows.push_back({1014, false, "CLOSE 1%"});
  rows.push_back({1015, false, "A+ OUTPUT%"});
  rows.push_back({1016, false, "A- OUTPUT%"});
  rows.push_back({1017, false, "CLOSE 0%"});
  rows.push_back({1018, false, "MUTE ON%"});
  rows.push_back({1019, false, ""});   // "Clear" only empties the pane
  rows.push_back({3004, true, "<DEFAULT>"});
  rows.push_back({3005, true, "<COPYEDID>"});
  rows.push_back({3006, true, "<BellOn>"});
  rows.push_back({1020, true, ""});
  rows.push_back({3000 + 8, true, ""});   // About: a box, nothing sent (caught below)
  return rows;
}

TEST_F(ConnectedPanel, EachButtonAndMenuItemSendsItsCommand) {
  MessageBoxWatcher about(L"About...");
  for (const Expected& row : commandTable()) {
    SCOPED_TRACE("id " + std::to_string(row.id));
    if (row.menuItem) {
      command(row.id);
    } else {
      click(row.id);
    }
    EXPECT_EQ(peer.readUntilQuiet(150), row.bytes) << printable(row.bytes);
    std::wstring echo = row.bytes.empty() ? L"" : L"Tx> " + std::wstring(row.bytes.begin(), row.bytes.end()) + L"\r\n";
    if (row.id == 1019) {
      EXPECT_EQ(paneText(), L"");
    } else if (!echo.empty()) {
      std::wstring all = paneText();
      ASSERT_GE(all.size(), echo.size());
      EXPECT_EQ(all.substr(all.size() - echo.size()), echo);
    }
  }
  EXPECT_TRUE(about.caught());
}

// The toggling commands ask for the opposite of what the unit last reported.
TEST_F(ConnectedPanel, MuteAndBuzzerCommandsFollowTheReportedState) {
  struct Row {
    std::string reply;
    int id;
    bool menuItem;
    std::string bytes;
  };
  const Row rows[] = {
      {">HDMI AUDIO MUTE ON\r\n", 1014, false, "OPEN 1%"},
      {">HDMI AUDIO MUTE OFF\r\n", 1014, false, "CLOSE 1%"},
      {">Analog AUDIO MUTE ON\r\n", 1017, false, "OPEN 0%"},
      {">MUTE ON\r\n", 1018, false, "MUTE OFF%"},
      {">MUTE OFF\r\n", 1018, false, "MUTE ON%"},
      {">Bell On\r\n", 3006, true, "<BellOff>"},
      {"Bell Status: OFF\r\n", 3006, true, "<BellOn>"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.reply);
    reply(row.reply);
    if (row.menuItem) {
      command(row.id);
    } else {
      click(row.id);
    }
    EXPECT_EQ(peer.readUntilQuiet(150), row.bytes);
  }
}

std::string levelCommands(int input, int from, int to) {
  std::string bytes;
  for (int level = from; level <= to; ++level) {
    bytes += "A " + std::to_string(input) + " INPUT " + std::to_string(level) + "%" + std::string(1, '\0');
  }
  return bytes;
}

// Moving a level trackbar down from 0 to 7 with the keyboard sends each new
// level once; the end of the move and a press past the end send nothing.
TEST_F(ConnectedPanel, EveryLevelTrackbarSendsEachNewLevelOnce) {
  for (int k = 0; k < kAudioInputCount; ++k) {
    SCOPED_TRACE("trackbar " + std::to_string(k));
    HWND trackbar = mainWindowState.audioLevelTrackbars[k];
    for (int press = 0; press < 8; ++press) {
      SendMessageW(trackbar, WM_KEYDOWN, VK_DOWN, 0);
      SendMessageW(trackbar, WM_KEYUP, VK_DOWN, 0);
    }
    EXPECT_EQ(SendMessageW(trackbar, TBM_GETPOS, 0, 0), 7);
    EXPECT_EQ(printable(peer.readUntilQuiet(150)), printable(levelCommands(k, 1, 7)));
  }
}

TEST_F(ConnectedPanel, DraggingATrackbarThumbSendsEachLevelItPassesOnce) {
  HWND trackbar = mainWindowState.audioLevelTrackbars[4];
  const int positions[] = {0, 1, 1, 2, 3, 3, 4, 5, 6, 7, 7};
  for (int position : positions) {
    SendMessageW(trackbar, TBM_SETPOS, TRUE, position);
    SendMessageW(mainWindowState.mainWindow, WM_VSCROLL, MAKEWPARAM(TB_THUMBTRACK, position),
                 reinterpret_cast<LPARAM>(trackbar));
  }
  SendMessageW(mainWindowState.mainWindow, WM_VSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(trackbar));
  EXPECT_EQ(printable(peer.readUntilQuiet(150)), printable(levelCommands(4, 1, 7)));
  // Back up to 2: the levels on the way are sent again, downwards.
  for (int position = 6; position >= 2; --position) {
    SendMessageW(trackbar, TBM_SETPOS, TRUE, position);
    SendMessageW(mainWindowState.mainWindow, WM_VSCROLL, MAKEWPARAM(TB_THUMBTRACK, position),
                 reinterpret_cast<LPARAM>(trackbar));
  }
  std::string expected;
  for (int level = 6; level >= 2; --level) expected += levelCommands(4, level, level);
  EXPECT_EQ(printable(peer.readUntilQuiet(150)), printable(expected));
}

TEST_F(ConnectedPanel, SendWritesTheTextWithCrLfAndEmptiesTheEdit) {
  SetWindowTextW(mainWindowState.sendEdit, L"AB");
  click(1004);
  EXPECT_EQ(peer.readUntilQuiet(150), "AB\r\n");
  EXPECT_EQ(windowText(mainWindowState.sendEdit), L"");
  std::wstring all = paneText();
  ASSERT_GE(all.size(), 8u);
  EXPECT_EQ(all.substr(all.size() - 8), L"Tx> AB\r\n");

  // An empty edit sends and echoes nothing.
  click(1004);
  EXPECT_EQ(peer.readUntilQuiet(150), "");
  EXPECT_EQ(paneText(), all);
}

// A character beyond single bytes would leave nothing on the wire: the text
// stays in the edit, no Tx line claims it went out, a System line says why.
TEST_F(ConnectedPanel, SendKeepsATextTheUnitCannotTakeAndSaysSo) {
  const std::wstring before = paneText();
  SetWindowTextW(mainWindowState.sendEdit, L"5 \u20ac");
  click(1004);
  EXPECT_EQ(peer.readUntilQuiet(150), "");
  EXPECT_EQ(windowText(mainWindowState.sendEdit), L"5 \u20ac");
  EXPECT_EQ(paneText(), before + L"System> Not sent: the unit takes only single-byte characters\r\n");
}

TEST_F(MainWindowCommands, SendDoesNothingWithoutAnOpenPort) {
  UnitPeer peer(testPeerName());
  ASSERT_NE(startPanel(), nullptr);
  SetWindowTextW(mainWindowState.sendEdit, L"AB");
  SendMessageW(mainWindowState.mainWindow, WM_COMMAND, MAKEWPARAM(1004, 0), 0);
  EXPECT_EQ(peer.readUntilQuiet(150), "");
  EXPECT_EQ(windowText(mainWindowState.sendEdit), L"AB");
  EXPECT_EQ(paneText(), L"");
}

// The mouse messages the HDMI Vol+ button takes from the queue.
struct ButtonPresses {
  int downs = 0;
  int doubleClicks = 0;
};
ButtonPresses presses;

LRESULT CALLBACK countPresses(int code, WPARAM wParam, LPARAM lParam) {
  const MSG* msg = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && msg->hwnd == mainWindowState.hdmiVolUpButton) {
    if (msg->message == WM_LBUTTONDOWN) ++presses.downs;
    if (msg->message == WM_LBUTTONDBLCLK) ++presses.doubleClicks;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Two real clicks in quick succession on one button are two clicks, each
// arriving as a press of its own rather than as a double-click.
TEST_F(ConnectedPanel, AQuickDoubleClickOnAButtonSendsTwoCommands) {
  HWND button = mainWindowState.hdmiVolUpButton;
  RECT rect{};
  GetWindowRect(button, &rect);
  ASSERT_TRUE(SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
  pumpFor(50);
  HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, countPresses, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  INPUT clicks[4] = {};
  const DWORD flags[4] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
  for (int i = 0; i < 4; ++i) {
    clicks[i].type = INPUT_MOUSE;
    clicks[i].mi.dwFlags = flags[i];
  }
  ASSERT_EQ(SendInput(4, clicks, sizeof(INPUT)), 4u);
  std::string bytes = peer.readAtLeast(20, 3000);
  bytes += peer.readUntilQuiet(150);
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(bytes, "B+ OUTPUT%B+ OUTPUT%");
  EXPECT_EQ(presses.downs, 2);
  EXPECT_EQ(presses.doubleClicks, 0);
}

TEST_F(ConnectedPanel, ShowOutputGrowsTheWindowAndBackWithoutMovingIt) {
  HWND window = mainWindowState.mainWindow;
  RECT before{};
  GetWindowRect(window, &before);
  for (int height : {517, 278}) {
    command(1020);
    pumpMessages();
    RECT client{}, outer{};
    GetClientRect(window, &client);
    GetWindowRect(window, &outer);
    EXPECT_EQ(client.right, 551);
    EXPECT_EQ(client.bottom, height);
    EXPECT_EQ(outer.left, before.left);
    EXPECT_EQ(outer.top, before.top);
    EXPECT_EQ((menuItemOf(mainWindowState.mainMenu, 1020).state & MFS_CHECKED) != 0, height == 517);
  }
}

TEST_F(ConnectedPanel, TheFirmwareBoxShowsTheReportedVersions) {
  struct Row {
    std::string reply;
    std::wstring text;
  };
  const Row rows[] = {
      {"", L"LPMCU version: \nFPMCU version: \nFLMCU version: "},
      {">LPMCU SW Versions: V1.23\r\n>FPMCU SW Versions: V2.0\r\n>FLMCU SW Versions: V3.14159265\r\n",
       L"LPMCU version: 1.23\nFPMCU version: 2.0\nFLMCU version: 3.14159"},
  };
  for (const Row& row : rows) {
    if (!row.reply.empty()) reply(row.reply);
    MessageBoxWatcher box(L"Firmware Versions");
    command(3007);   // returns once the box has been dismissed
    ASSERT_TRUE(box.caught());
    EXPECT_EQ(box.text(), row.text) << narrow(box.text());
  }
}

TEST_F(MainWindowCommands, TheAboutBoxHasTwoLinesWithTheRightsNotice) {
  ASSERT_NE(startPanel(), nullptr);
  MessageBoxWatcher box(L"About...");
  SendMessageW(mainWindowState.mainWindow, WM_COMMAND, MAKEWPARAM(3008, 0), 0);
  ASSERT_TRUE(box.caught());
  std::wstring text = box.text();
  std::size_t lineBreak = text.find(L'\n');
  ASSERT_NE(lineBreak, std::wstring::npos);
  EXPECT_EQ(text.find(L'\n', lineBreak + 1), std::wstring::npos);
  EXPECT_EQ(text.substr(0, lineBreak), L"Tervane VRX 2600 Control");
  EXPECT_NE(text.find(L"2014", lineBreak), std::wstring::npos);
  EXPECT_NE(text.find(L"Copyright", lineBreak), std::wstring::npos);
  EXPECT_LT(text.size(), 86u);
}

enum class Ending { ExitItem, CloseBox, CloseBoxWhileConnected };

void PrintTo(Ending ending, std::ostream* out) { *out << static_cast<int>(ending); }

class MainWindowEnding : public PanelTest, public ::testing::WithParamInterface<Ending> {};

TEST_P(MainWindowEnding, EndsTheMessageLoopWithExitCodeZero) {
  UnitPeer peer(testPeerName());
  HWND window = startPanel();
  ASSERT_NE(window, nullptr);
  if (GetParam() == Ending::CloseBoxWhileConnected) {
    ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  }
  if (GetParam() == Ending::ExitItem) {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(3000, 0), 0);
  } else {
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
  EXPECT_EQ(runMessageLoop(), 0);
  EXPECT_FALSE(IsWindow(window));
  // An open port was closed through the link, its reader waited for, before
  // the stop mutex went.
  EXPECT_FALSE(serialLink.portOpen);
  EXPECT_EQ(serialLink.readerThread, nullptr);
  EXPECT_EQ(serialLink.stopMutex, nullptr);
  stopControlPanel();
}

BOOL WINAPI failToFetch(LPMSG, HWND, UINT, UINT) {
  SetLastError(ERROR_INVALID_PARAMETER);
  return -1;
}

// Without a WM_QUIT there is no wParam to return: the loop's own code instead.
TEST_F(MainWindowCommands, AMessageFetchThatFailsEndsTheLoopWithItsOwnCode) {
  ImportPatch fetch("user32.dll", "GetMessageW", reinterpret_cast<const void*>(failToFetch));
  ASSERT_TRUE(fetch.active());
  EXPECT_EQ(runMessageLoop(), kMessageLoopFailedExitCode);
}

std::string endingName(const ::testing::TestParamInfo<Ending>& info) {
  const char* names[] = {"ExitItem", "CloseBox", "CloseBoxWhileConnected"};
  return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Ways, MainWindowEnding,
                         ::testing::Values(Ending::ExitItem, Ending::CloseBox, Ending::CloseBoxWhileConnected),
                         endingName);
}  // namespace
