// The main window as it is built: its size, style and place on the monitor,
// the console's capacity, the run-time "&Connect" and "&Help" menus with and
// without serial ports, and the "No Serial Ports" box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "links/port_discovery.h"
#include "tests/support/controls_and_menus.h"
#include "tests/support/panel_fixtures.h"
#include "tools/panel-driver/message_box_watcher.h"
#include "ui/main/console_pane.h"

namespace {
class MainWindowMenus : public PanelTest {};

const std::vector<MenuItem> kHelpMenu = {
    {L"VRX-2600 &Firmware", 3007, true, false},
    {L"&About...", 3008, false, false},
};
const MenuItem kShowOutput = {L"Show Output", 1020, false, false};

std::string describe(const std::vector<MenuItem>& items) {
  std::string text;
  for (const MenuItem& item : items) {
    text += std::string(item.text.begin(), item.text.end()) + " " + std::to_string(item.id) +
            (item.grayed ? " grayed" : "") + (item.checked ? " checked" : "") + "; ";
  }
  return text;
}

void expectBar(const std::vector<MenuItem>& connectItems) {
  HMENU bar = mainWindowState.mainMenu;
  ASSERT_EQ(GetMenu(mainWindowState.mainWindow), bar);
  ASSERT_EQ(GetMenuItemCount(bar), 4);
  const wchar_t* titles[] = {L"&File", L"&Settings", L"&Connect", L"&Help"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(menuItemAt(bar, i).text, titles[i]);
  // The two menus built at run time, after the resource's two.
  const std::vector<MenuItem>* items[] = {&connectItems, &kHelpMenu};
  for (int i = 0; i < 2; ++i) {
    std::vector<MenuItem> actual = popupItems(GetSubMenu(bar, 2 + i));
    EXPECT_EQ(actual, *items[i]) << describe(actual);
  }
}

TEST_F(MainWindowMenus, WithPortsConnectOffersEachPortThenShowOutput) {
  ASSERT_NE(startPanel(), nullptr);
  ASSERT_FALSE(PortList.empty());
  std::vector<MenuItem> connect;
  for (std::size_t i = 0; i < PortList.size(); ++i) {
    connect.push_back({PortList[i], static_cast<int>(800 + i), false, false});
  }
  connect.push_back(kShowOutput);
  expectBar(connect);
  EXPECT_NE(findMenuItemId(mainWindowState.mainMenu, testPortName()), -1);
}

TEST_F(MainWindowMenus, NoSerialPortsGivesAGrayedItemAndTheBox) {
  MessageBoxWatcher box(L"No Serial Ports");
  ASSERT_NE(startPanelWithPorts({}, true), nullptr);
  ASSERT_TRUE(box.caught());
  EXPECT_EQ(box.text(), L"No serial ports connected to this PC, connect one and restart this program.");
  expectBar({{L"No serial ports", 0, true, false}, kShowOutput});
  EXPECT_TRUE(IsWindowVisible(mainWindowState.mainWindow));
}

TEST_F(MainWindowMenus, AnEmptyPortListGivesOnlyShowOutputAndNoBox) {
  MessageBoxWatcher box(L"No Serial Ports");
  ASSERT_NE(startPanelWithPorts({}, false), nullptr);
  EXPECT_FALSE(box.caught());   // a box would have been shown inside the start
  expectBar({kShowOutput});
}

// A name is cut to 15 characters; items past 899 exist but do nothing.
TEST_F(MainWindowMenus, LongNamesAreCutAndItemsPast899DoNothing) {
  std::vector<std::wstring> names;
  for (int i = 0; i < 101; ++i) names.push_back(L"PORT" + std::to_wstring(i));
  names[0] = L"ABCDEFGHIJKLMNOPQRST";
  ASSERT_NE(startPanelWithPorts(names, false), nullptr);
  HMENU connect = GetSubMenu(mainWindowState.mainMenu, 2);
  std::vector<MenuItem> items = popupItems(connect);
  ASSERT_EQ(items.size(), 102u);
  EXPECT_EQ(items[0].text, L"ABCDEFGHIJKLMNO");
  EXPECT_EQ(items[100].text, L"PORT100");
  EXPECT_EQ(items[100].id, 900);

  SendMessageW(mainWindowState.mainWindow, WM_COMMAND, MAKEWPARAM(900, 0), 0);
  pumpMessages();
  EXPECT_EQ(mainWindowState.markedPortItem, 0);
  EXPECT_FALSE(popupItems(connect)[100].checked);
  EXPECT_EQ(paneText(), L"");
}

class MainWindowLayout : public PanelTest {};

TEST_F(MainWindowLayout, CompactClientAreaIsCentredOnThePrimaryMonitor) {
  HWND window = startPanel();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(windowText(window), L"Tervane VRX 2600 Control");
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right - client.left, 551);
  EXPECT_EQ(client.bottom - client.top, 278);

  RECT outer{};
  GetWindowRect(window, &outer);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  int monitorWidth = monitor.rcMonitor.right - monitor.rcMonitor.left;
  int monitorHeight = monitor.rcMonitor.bottom - monitor.rcMonitor.top;
  EXPECT_NEAR(outer.left + outer.right, monitorWidth, 2);
  EXPECT_NEAR(outer.top + outer.bottom, monitorHeight, 2);

  LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN),
            WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN);
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
  EXPECT_TRUE(IsWindowVisible(window));
}

// The pane keeps its whole scroll-back, far beyond an edit's default limit.
TEST_F(MainWindowLayout, ConsoleKeepsMoreThanAHundredThousandCharacters) {
  ASSERT_NE(startPanel(), nullptr);
  const std::wstring text(1998, L'x');
  const std::wstring line = text + L"\r\n";
  const int lines = 60;
  for (int i = 0; i < lines; ++i) ConsolePane::appendLine(line.c_str(), ConsoleLineKind::Tx);
  const std::size_t expected = lines * (4 + line.size());
  ASSERT_GT(expected, 100000u);
  std::wstring all = paneText();
  EXPECT_EQ(all.size(), expected);
  EXPECT_EQ(all.substr(all.size() - line.size() - 4), L"Tx> " + line);
}
}  // namespace
