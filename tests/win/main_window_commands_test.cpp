// What the operator's buttons, menu items, level trackbars and the Send row
// put on the wire, and the boxes, pane toggle and exits of the main window.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "links/serial_link.h"
#include "tests/support/controls_and_menus.h"
#include "tests/support/import_patch.h"
#include "tests/support/panel_fixtures.h"
#include "tools/panel-driver/message_box_watcher.h"
#include "ui/ids.h"
#include "ui/main/startup.h"

namespace {
class MainWindowCommands : public PanelTest {};
class ConnectedPanel : public ConnectedPanelTest {};

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }
std::wstring wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// What the unit receives for a level: the text and its one zero byte.
std::string levelCommand(int input, int level) {
  return "A " + std::to_string(input) + " INPUT " + std::to_string(level) + "%" + std::string(1, '\0');
}

// Each input button by its handle and each output button and menu item by its
// id send their command, and echo it; "Clear" empties the pane, "Show Output"
// and "&About..." send nothing.
TEST_F(ConnectedPanel, EachButtonAndMenuItemSendsItsCommand) {
  struct Row {
    int id;
    bool menuItem;
    std::string bytes;
  };
  std::vector<Row> rows;
  for (int k = 0; k < 10; ++k) rows.push_back({500 + 4 * k, false, "S AUDIO " + std::to_string(k) + "."});
  for (int k = 0; k < 7; ++k) rows.push_back({600 + 4 * k, false, "S SOURCE " + std::to_string(k) + "."});
  rows.insert(rows.end(), {{628, false, "S SOURCE 7."}, {632, false, "S SOURCE 8."},   // "Display\nPort", "HDBaseT"
                           {1012, false, "B+ OUTPUT%"}, {1013, false, "B- OUTPUT%"}, {1014, false, "CLOSE 1%"},
                           {1015, false, "A+ OUTPUT%"}, {1016, false, "A- OUTPUT%"}, {1017, false, "CLOSE 0%"},
                           {1018, false, "MUTE ON%"}, {3005, true, "<COPYEDID>"},
                           {3006, true, "<BellOn>"}, {1019, false, ""}, {1020, true, ""}, {3008, true, ""}});
  MessageBoxWatcher about(L"About...");
  for (const Row& row : rows) {
    SCOPED_TRACE("id " + std::to_string(row.id));
    if (row.menuItem) {
      choose(row.id);
    } else {
      click(row.id);
    }
    if (row.bytes.empty()) {
      if (row.id == 1019) {
        EXPECT_EQ(paneText(), L"");
      }
      expectNothingSent();
      continue;
    }
    expectSent(row.bytes);
    std::wstring echo = L"Tx> " + wide(row.bytes) + L"\r\n", all = paneText();
    ASSERT_GE(all.size(), echo.size());
    EXPECT_EQ(all.substr(all.size() - echo.size()), echo);
  }
  EXPECT_EQ(about.count(), 1);
}

// Every level trackbar sends each new level once, with the keyboard and by
// dragging its thumb; the end of a move and a press past the end send nothing.
TEST_F(ConnectedPanel, EveryLevelTrackbarSendsEachNewLevelOnce) {
  for (int k = 0; k < kAudioInputCount; ++k) {
    SCOPED_TRACE("trackbar " + std::to_string(k));
    HWND trackbar = mainWindowState.audioLevelTrackbars[k];
    for (int press = 0; press < 8; ++press) {
      SendMessageW(trackbar, WM_KEYDOWN, VK_DOWN, 0);
      SendMessageW(trackbar, WM_KEYUP, VK_DOWN, 0);
    }
    EXPECT_EQ(SendMessageW(trackbar, TBM_GETPOS, 0, 0), 7);
    std::string levels;
    for (int level = 1; level <= 7; ++level) levels += levelCommand(k, level);
    expectSent(levels);
  }
  // A drag back up passes each level on the way once, then stops.
  HWND trackbar = mainWindowState.audioLevelTrackbars[4];
  std::string levels;
  for (int position : {6, 6, 5, 4, 3, 3, 2}) {
    SendMessageW(trackbar, TBM_SETPOS, TRUE, position);
    SendMessageW(mainWindowState.mainWindow, WM_VSCROLL, MAKEWPARAM(TB_THUMBTRACK, position),
                 reinterpret_cast<LPARAM>(trackbar));
  }
  SendMessageW(mainWindowState.mainWindow, WM_VSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(trackbar));
  for (int level = 6; level >= 2; --level) levels += levelCommand(4, level);
  expectSent(levels);
  expectNothingSent();
}

TEST_F(ConnectedPanel, SendWritesTheTextWithCrLfAndEmptiesTheEdit) {
  SetWindowTextW(mainWindowState.sendEdit, L"AB");
  click(1004);
  expectSent("AB\r\n");
  EXPECT_EQ(windowText(mainWindowState.sendEdit), L"");
  std::wstring all = paneText();
  ASSERT_GE(all.size(), 8u);
  EXPECT_EQ(all.substr(all.size() - 8), L"Tx> AB\r\n");

  // An empty edit sends and echoes nothing.
  click(1004);
  EXPECT_EQ(paneText(), all);
  expectNothingSent();
}

// A character beyond single bytes would leave nothing on the wire: the text
// stays in the edit, no Tx line claims it went out, a System line says why.
TEST_F(ConnectedPanel, SendKeepsATextTheUnitCannotTakeAndSaysSo) {
  const std::wstring before = paneText();
  SetWindowTextW(mainWindowState.sendEdit, L"5 \u20ac");
  click(1004);
  EXPECT_EQ(windowText(mainWindowState.sendEdit), L"5 \u20ac");
  EXPECT_EQ(paneText(), before + L"System> Not sent: the unit takes only single-byte characters\r\n");
  expectNothingSent();
}

TEST_F(MainWindowCommands, SendDoesNothingWithoutAnOpenPort) {
  ASSERT_NE(startPanel(), nullptr);
  SetWindowTextW(mainWindowState.sendEdit, L"AB");
  SendMessageW(mainWindowState.mainWindow, WM_COMMAND, MAKEWPARAM(1004, 0), 0);
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
  presses = ButtonPresses{};
  HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, countPresses, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  INPUT clicks[4] = {};
  const DWORD flags[4] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
  for (int i = 0; i < 4; ++i) {
    clicks[i].type = INPUT_MOUSE;
    clicks[i].mi.dwFlags = flags[i];
  }
  ASSERT_EQ(SendInput(4, clicks, sizeof(INPUT)), 4u);
  expectSent("B+ OUTPUT%B+ OUTPUT%");
  expectNothingSent();
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(presses.downs, 2);
  EXPECT_EQ(presses.doubleClicks, 0);
}

TEST_F(ConnectedPanel, ShowOutputGrowsTheWindowAndBackWithoutMovingIt) {
  HWND window = mainWindowState.mainWindow;
  RECT before{};
  GetWindowRect(window, &before);
  for (int height : {517, 278}) {
    choose(1020);
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

// Before any "<SW>" reply the labels stand with empty versions; afterwards
// each shows at most its first seven characters after the "V".
TEST_F(ConnectedPanel, TheFirmwareBoxShowsTheReportedVersions) {
  const std::wstring texts[] = {L"LPMCU version: \nFPMCU version: \nFLMCU version: ",
                                L"LPMCU version: 1.23\nFPMCU version: 2.0\nFLMCU version: 3.14159"};
  for (const std::wstring& text : texts) {
    if (text != texts[0]) {
      reply(">LPMCU SW Versions: V1.23\r\n>FPMCU SW Versions: V2.0\r\n>FLMCU SW Versions: V3.14159265\r\n");
    }
    MessageBoxWatcher box(L"Firmware Versions");
    choose(3007);   // returns once the box has been dismissed
    ASSERT_TRUE(box.caught());
    EXPECT_EQ(box.text(), text) << narrow(box.text());
    EXPECT_EQ(box.firstOwner(), mainWindowState.mainWindow);
    EXPECT_FALSE(box.firstOwnerEnabled());
  }
}

TEST_F(MainWindowCommands, TheAboutBoxHasTwoLinesWithTheRightsNotice) {
  ASSERT_NE(startPanel(), nullptr);
  MessageBoxWatcher box(L"About...");
  SendMessageW(mainWindowState.mainWindow, WM_COMMAND, MAKEWPARAM(3008, 0), 0);
  ASSERT_TRUE(box.caught());
  EXPECT_EQ(box.firstOwner(), mainWindowState.mainWindow);
  EXPECT_FALSE(box.firstOwnerEnabled());
  std::wstring text = box.text();
  std::size_t lineBreak = text.find(L'\n');
  ASSERT_NE(lineBreak, std::wstring::npos);
  EXPECT_EQ(text.find(L'\n', lineBreak + 1), std::wstring::npos);
  EXPECT_EQ(text.substr(0, lineBreak), L"Tervane VRX 2600 Control");
  EXPECT_NE(text.find(L"2014", lineBreak), std::wstring::npos);
  EXPECT_NE(text.find(L"Copyright", lineBreak), std::wstring::npos);
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

std::string endingName(const ::testing::TestParamInfo<Ending>& info) {
  const char* names[] = {"ExitItem", "CloseBox", "CloseBoxWhileConnected"};
  return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Ways, MainWindowEnding,
                         ::testing::Values(Ending::ExitItem, Ending::CloseBox, Ending::CloseBoxWhileConnected),
                         endingName);

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
}  // namespace
