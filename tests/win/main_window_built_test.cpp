// The menu bar: the resource menus, the run-time "&Connect" and "&Help"
// menus with and without serial ports, and the "No Serial Ports" box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "links/port_discovery.h"
#include "protocol/control_state.h"
#include "tools/harness/controls_and_menus.h"
#include "tools/harness/message_box_watcher.h"
#include "tools/harness/panel_fixtures.h"
#include "tools/harness/panel_in_process.h"
#include "tools/harness/session_environment.h"
#include "tools/harness/waiting.h"
#include "ui/main/main_window.h"

namespace {
class MainWindowMenus : public PanelTest {};

const std::vector<MenuItem> kFileMenu = {
    {L"&Restore Default Settings", 3004, true, false},
    {L"E&xit", 3000, false, false},
};
const std::vector<MenuItem> kSettingsMenu = {
    {L"&Output Video Settings", 3001, true, false}, {L"&VGA Image Adjustments", 4002, true, false},
    {L"&Network Settings", 3003, true, false},      {L"&Copy EDID From Display", 3005, true, false},
    {L"Enable &Buzzer", 3006, true, false},
};
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
  const std::vector<MenuItem>* items[] = {&kFileMenu, &kSettingsMenu, &connectItems, &kHelpMenu};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(menuItemAt(bar, i).text, titles[i]);
    std::vector<MenuItem> actual = popupItems(GetSubMenu(bar, i));
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
  pumpFor(200);
  EXPECT_FALSE(box.caught());
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
}  // namespace
