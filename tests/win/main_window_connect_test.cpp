// Connecting through the "&Connect" menu: the opening queries on the wire and
// their pauses, the device controls following the connection, reopening,
// and the failure paths of opening and configuring.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "links/serial_link.h"
#include "tests/support/command_stamps.h"
#include "tests/support/controls_and_menus.h"
#include "tests/support/panel_fixtures.h"
#include "tools/panel-driver/message_box_watcher.h"

namespace {
class MainWindowConnect : public PanelTest {};

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

const int kDeviceMenuItems[] = {3001, 4002, 3003, 3004, 3005, 3006, 3007};

std::vector<HWND> deviceControls() {
  MainWindowState& s = mainWindowState;
  std::vector<HWND> controls(s.videoInputButtons, s.videoInputButtons + kVideoInputCount);
  controls.insert(controls.end(), s.audioInputButtons, s.audioInputButtons + kAudioInputCount);
  controls.insert(controls.end(), s.audioLevelTrackbars, s.audioLevelTrackbars + kAudioInputCount);
  for (HWND control : {s.sendEdit, s.sendButton, s.clearButton, s.hdmiVolUpButton, s.hdmiVolDownButton,
                       s.analogVolUpButton, s.analogVolDownButton, s.hdmiMuteButton, s.analogMuteButton,
                       s.muteAllButton}) {
    controls.push_back(control);
  }
  return controls;
}

void expectDeviceControlsEnabled(bool enabled) {
  for (HWND control : deviceControls()) {
    EXPECT_EQ(IsWindowEnabled(control) != FALSE, enabled) << GetDlgCtrlID(control);
  }
  for (int id : kDeviceMenuItems) {
    EXPECT_EQ((menuItemOf(mainWindowState.mainMenu, id).state & MFS_GRAYED) == 0, enabled) << id;
  }
  // Never touched by the connection.
  EXPECT_TRUE(IsWindowEnabled(mainWindowState.consoleEdit));
  EXPECT_EQ(menuItemOf(mainWindowState.mainMenu, 3000).state & MFS_GRAYED, 0u);
  EXPECT_EQ(menuItemOf(mainWindowState.mainMenu, 3008).state & MFS_GRAYED, 0u);
}

bool itemChecked(const std::wstring& text) {
  int id = findMenuItemId(mainWindowState.mainMenu, text);
  return id != -1 && (menuItemOf(mainWindowState.mainMenu, static_cast<UINT>(id)).state & MFS_CHECKED) != 0;
}

std::wstring openingEcho() {
  return L"Tx> <BellOff>\r\nTx> R SOURCE.\r\nTx> R AUDIO.\r\nTx> <BellStatus>\r\nTx> <SW>\r\n";
}


// The queries go out in order with a pause of 100 ms after each but the last.
TEST_F(MainWindowConnect, SendsTheOpeningQueriesWithPausesBetweenThem) {
  UnitPeer peer(testPeerName());
  ASSERT_TRUE(peer.isOpen());
  ASSERT_NE(startPanel(), nullptr);
  stampCommandsOnTheirWay();
  choosePortItem(testPortName());
  EXPECT_EQ(peer.readAtLeast(kOpeningQueries.size()), kOpeningQueries);
  ASSERT_EQ(commandStamps().size(), 5u);
  EXPECT_GE(shortestGapBetweenCommands(), 95.0);
  EXPECT_EQ(paneText(), L"System> Opened " + testPortName() + L"\r\n" + openingEcho());
  EXPECT_TRUE(itemChecked(testPortName()));
  EXPECT_EQ(mainWindowState.markedPortItem, findMenuItemId(mainWindowState.mainMenu, testPortName()));
}

TEST_F(MainWindowConnect, ChoosingTheOpenPortAgainClosesAndReopensIt) {
  UnitPeer peer(testPeerName());
  ASSERT_NE(startPanel(), nullptr);
  ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  const std::wstring port = testPortName();
  EXPECT_EQ(paneText(), L"System> Opened " + port + L"\r\n" + openingEcho() + L"System> Closed " + port +
                               L"\r\n" + L"System> Opened " + port + L"\r\n" + openingEcho());
  expectDeviceControlsEnabled(true);
  EXPECT_TRUE(itemChecked(port));
  // Nothing more went out: the next command is the next thing the unit gets.
  readVersions();
  EXPECT_EQ(peer.readAtLeast(4), "<SW>");
}

// Windows opens only COM1 to COM9 by their bare names; a USB adapter numbered
// above 9 opens in the device namespace, and the panel still shows its name.
TEST_F(MainWindowConnect, APortNumberedAboveNineConnects) {
  const std::wstring port = testPort2Name();
  ASSERT_GE(port.size(), 5u) << "the rig's second pair is numbered above 9";
  UnitPeer peer(testPeer2Name());
  ASSERT_TRUE(peer.isOpen()) << "error " << GetLastError();
  ASSERT_NE(startPanel(), nullptr);
  MessageBoxWatcher failure;   // a port that did not open says so in a box
  choosePortItem(port);
  EXPECT_EQ(failure.boxes(), std::vector<std::wstring>());
  EXPECT_EQ(peer.readAtLeast(kOpeningQueries.size()), kOpeningQueries);
  EXPECT_EQ(paneText(), L"System> Opened " + port + L"\r\n" + openingEcho());
  EXPECT_EQ(std::wstring(serialLink.openPortName), port);
  EXPECT_TRUE(itemChecked(port));
  expectDeviceControlsEnabled(true);
}

// A listed port whose adapter is gone: the system's reason in a box of the
// main window, no line, no check mark, and the device controls stay grey; a
// connection enables them, and a failed choice from it closes and greys them.
TEST_F(MainWindowConnect, AListedPortThatCannotBeOpenedIsReportedAndLeavesNoMark) {
  // The rig lists one in the registry; without the rig the panel is given one.
  const std::wstring dead = deadPortName().empty() ? L"COM99" : deadPortName();
  UnitPeer peer(testPeerName());
  ASSERT_NE(deadPortName().empty() ? startPanelWithExtraPorts({L"COM99"}) : startPanel(), nullptr);
  const std::wstring expected = L"Opening " + dead + L" failed with error 2: ";
  {
    MessageBoxWatcher errorBox(L"Error");
    choosePortItem(dead);
    ASSERT_EQ(errorBox.count(), 1);
    EXPECT_EQ(errorBox.text().substr(0, expected.size()), expected) << narrow(errorBox.text());
    EXPECT_GT(errorBox.text().size(), expected.size()) << "the system's text follows";
  }
  EXPECT_EQ(paneText(), L"");
  EXPECT_EQ(mainWindowState.markedPortItem, 0);
  EXPECT_FALSE(itemChecked(dead));
  EXPECT_FALSE(serialLink.portOpen);
  expectDeviceControlsEnabled(false);

  ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  EXPECT_TRUE(itemChecked(testPortName()));
  expectDeviceControlsEnabled(true);

  // From a connection: the open port is closed, then the failure is shown.
  MessageBoxWatcher errorBox(L"Error");
  choosePortItem(dead);
  EXPECT_EQ(errorBox.count(), 1);
  EXPECT_EQ(errorBox.text().substr(0, expected.size()), expected);
  EXPECT_FALSE(itemChecked(dead));
  EXPECT_FALSE(itemChecked(testPortName()));
  EXPECT_EQ(mainWindowState.markedPortItem, 0);
  std::wstring text = paneText();
  std::wstring closed = L"System> Closed " + testPortName() + L"\r\n";
  ASSERT_GE(text.size(), closed.size());
  EXPECT_EQ(text.substr(text.size() - closed.size()), closed);
  expectDeviceControlsEnabled(false);
}

// "Opened " or "Closed ", a name of up to 15 characters and CR LF fit the
// line whole, so the next line starts on a line of its own.
TEST_F(MainWindowConnect, OpenedAndClosedLinesKeepTheirLineEndForLongerNames) {
  const std::wstring longName = L"\\\\.\\" + testPortName();   // \\.\COM7
  UnitPeer peer(testPeerName());
  ASSERT_NE(startPanelWithExtraPorts({longName.c_str()}), nullptr);
  choosePortItem(longName);
  ASSERT_EQ(peer.readAtLeast(kOpeningQueries.size()), kOpeningQueries);
  choosePortItem(longName);
  ASSERT_EQ(peer.readAtLeast(kOpeningQueries.size()), kOpeningQueries);
  EXPECT_EQ(paneText(), L"System> Opened " + longName + L"\r\n" + openingEcho() + L"System> Closed " +
                               longName + L"\r\n" + L"System> Opened " + longName + L"\r\n" + openingEcho());
}

// NUL opens but is no serial line: its configuration cannot be read, which is
// reported, and the port is closed again. The box belongs to the main window,
// which takes no input while it is open; a choice sent to it all the same
// does nothing, and once the box is closed the panel is consistent.
TEST_F(MainWindowConnect, APortChosenWhileAConnectsBoxIsOpenDoesNothing) {
  UnitPeer peer(testPeerName());
  ASSERT_TRUE(peer.isOpen());
  ASSERT_NE(startPanelWithExtraPorts({L"NUL"}), nullptr);
  HWND window = mainWindowState.mainWindow;
  int otherItem = findMenuItemId(mainWindowState.mainMenu, testPort2Name());
  ASSERT_NE(otherItem, -1);
  // Chosen from the box watcher's thread: the box's modal loop handles the
  // send, which returns once the main window has handled the choice.
  // Every box is caught: the configuration's error box must be the only one.
  MessageBoxWatcher errorBox(L"", [&] { SendMessageW(window, WM_COMMAND, MAKEWPARAM(otherItem, 0), 0); });
  choosePortItem(L"NUL");
  EXPECT_EQ(errorBox.count(), 1);
  EXPECT_EQ(errorBox.firstOwner(), window);
  EXPECT_FALSE(errorBox.firstOwnerEnabled());
  const std::wstring prefix = L"Get configuration port has problem. failed with error ";
  EXPECT_EQ(errorBox.text().substr(0, prefix.size()), prefix) << narrow(errorBox.text());
  EXPECT_EQ(paneText(), L"System> Opened NUL\r\nSystem> Closed NUL\r\n");
  EXPECT_FALSE(serialLink.portOpen);
  EXPECT_EQ(serialLink.readerCount, 0);
  EXPECT_FALSE(itemChecked(L"NUL"));
  EXPECT_TRUE(IsWindowEnabled(window));
  EXPECT_FALSE(itemChecked(testPort2Name()));
  expectDeviceControlsEnabled(false);

  ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  EXPECT_EQ(serialLink.readerCount, 1);
  expectDeviceControlsEnabled(true);
  EXPECT_EQ(errorBox.count(), 1);
}
}  // namespace
