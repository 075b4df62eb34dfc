// "Network Settings": its edits and buttons, the paced opening queries, the
// painted current values, and the checks each "Set" makes before it sends.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/command_stamps.h"
#include "tests/support/controls_and_menus.h"
#include "tests/support/panel_fixtures.h"
#include "tests/support/screen_reading.h"
#include "tools/panel-driver/message_box_watcher.h"
#include "tools/panel-driver/operator_input.h"
#include "ui/ids.h"

namespace {
const wchar_t kAddressText[] = L"The IP address entered is not valid.";
const wchar_t kAddressCaption[] = L"Invalid IP Address";
const wchar_t kSubnetText[] = L"The subnet mask entered is not valid.";
const wchar_t kSubnetCaption[] = L"Invalid subnet";

class NetworkSettingsTest : public ConnectedPanelTest {
 protected:
  void SetUp() override {
    ConnectedPanelTest::SetUp();
    if (HasFatalFailure()) return;
    window_ = openThroughMenu(IDM_NETWORK_SETTINGS);
    ASSERT_TRUE(IsWindow(window_));
    expectSent("<SIPR><SPORT><SUBR><GAR>");
  }

  HWND window_ = nullptr;
};

// The edits of a row of a window, left to right (the port row has one).
std::vector<HWND> rowEdits(HWND window, int setId) {
  std::vector<HWND> children = childrenInCreationOrder(window);
  // Creation order: column by column IP, mask, gateway; then the port.
  int row = setId == IDC_SET_IP_ADDRESS ? 0 : setId == IDC_SET_SUBNET_MASK ? 1 : 2;
  if (setId == IDC_SET_PORT) return {children.at(12)};
  std::vector<HWND> edits;
  for (int column = 0; column < 4; ++column) edits.push_back(children.at(static_cast<std::size_t>(column * 3 + row)));
  return edits;
}

struct Clicked {
  bool boxShown;
  std::wstring caption;
  std::wstring text;
  HWND owner;          // the window the box belonged to
  bool ownerEnabled;   // whether that window took input while the box was open
};

// Clicks a "Set" button and catches whichever warning it shows.
Clicked clickSet(HWND window, int setId) {
  MessageBoxWatcher address(kAddressCaption);
  MessageBoxWatcher subnet(kSubnetCaption);
  clickButton(GetDlgItem(window, setId));
  for (const MessageBoxWatcher* box : {&address, &subnet}) {
    if (box->caught())
      return {true, box == &address ? kAddressCaption : kSubnetCaption, box->text(), box->firstOwner(),
              box->firstOwnerEnabled()};
  }
  return {false, L"", L"", nullptr, false};
}
}  // namespace

TEST_F(NetworkSettingsTest, TheCurrentValueLinesShowZerosUntilTheUnitReplies) {
  struct Line {
    int x, y, right;
    const wchar_t* before;
    const wchar_t* after;
  };
  const Line lines[] = {
      {8, 8, -1, L"Current IP address: 0.0.0.0 : 0", L"Current IP address: 192.168.1.20 : 1024"},
      {8, 32, -1, L"Current subnet mask: 0.0.0.0", L"Current subnet mask: 255.255.255.0"},
      {8, 56, -1, L"Current gateway address: 0.0.0.0", L"Current gateway address: 192.168.1.1"},
      {8, 100, 160, L"Set IP address:", nullptr},
      {8, 133, 160, L"Set IP port:", nullptr},
      {8, 166, 160, L"Set subnet mask:", nullptr},
      {8, 199, 160, L"Set gateway address:", nullptr},
  };
  for (const Line& line : lines) EXPECT_TRUE(showsLine(window_, line.x, line.y, line.before, line.right)) << line.before;
  for (int y : {101, 167, 200}) {
    for (int x : {201, 249, 297}) EXPECT_TRUE(showsLine(window_, x, y, L".", x + 8)) << x << "," << y;
  }

  reply("SIPR: 192.168.1.20\r\nSPORT: 1024\r\nSUBR: 255.255.255.0\r\nGAR: 192.168.1.1\r\n");
  for (const Line& line : lines) {
    const wchar_t* now = line.after != nullptr ? line.after : line.before;
    EXPECT_TRUE(showsLine(window_, line.x, line.y, now, line.right)) << now;
    if (line.after != nullptr) {
      EXPECT_FALSE(showsLine(window_, line.x, line.y, line.before, line.right));
    }
  }
  expectNothingSent();
}

TEST_F(NetworkSettingsTest, EachSetChecksItsRowBeforeItSends) {
  struct RowCase {
    int setId;
    std::vector<const wchar_t*> texts;
    const wchar_t* caption;   // null: the row is valid
    const wchar_t* message;
    std::string wire;
  };
  const RowCase cases[] = {
      {IDC_SET_IP_ADDRESS, {L"192", L"168", L"1", L"20"}, nullptr, nullptr, onWire("<SIPR[192-168-1-20]>", 25)},
      {IDC_SET_IP_ADDRESS, {L"1", L"2", L"3", L""}, kAddressCaption, kAddressText, ""},
      {IDC_SET_IP_ADDRESS, {L"256", L"0", L"0", L"1"}, kAddressCaption, kAddressText, ""},
      // Pasted past the edits' digits-only style: no number.
      {IDC_SET_IP_ADDRESS, {L"0x10", L"0", L"0", L"1"}, kAddressCaption, kAddressText, ""},
      {IDC_SET_SUBNET_MASK, {L"255", L"0", L"255", L"0"}, nullptr, nullptr, onWire("<SUBR[255-0-255-0]>", 25)},
      {IDC_SET_SUBNET_MASK, {L"255", L"", L"255", L"0"}, kSubnetCaption, kSubnetText, ""},
      {IDC_SET_GATEWAY, {L"192", L"168", L"1", L"1"}, nullptr, nullptr, onWire("<GAR[192-168-1-1]>", 24)},
      {IDC_SET_GATEWAY, {L"192", L"168", L"1", L"256"}, kAddressCaption, kAddressText, ""},
      {IDC_SET_PORT, {L"65535"}, nullptr, nullptr, onWire("<SPORT[65535]>", 15)},
      {IDC_SET_PORT, {L"65536"}, kAddressCaption, kAddressText, ""},
      {IDC_SET_PORT, {L""}, kAddressCaption, kAddressText, ""},
  };
  for (const RowCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.setId << " " << testing::PrintToString(std::vector<std::wstring>(
                                                                 c.texts.begin(), c.texts.end())));
    std::vector<HWND> edits = rowEdits(window_, c.setId);
    ASSERT_EQ(edits.size(), c.texts.size());
    for (std::size_t i = 0; i < edits.size(); ++i) SetWindowTextW(edits[i], c.texts[i]);
    Clicked clicked = clickSet(window_, c.setId);
    EXPECT_EQ(clicked.boxShown, c.caption != nullptr);
    if (c.caption != nullptr) {
      EXPECT_EQ(clicked.caption, c.caption);
      EXPECT_EQ(clicked.text, c.message);
      // The box stays in front of its window, which waits for it.
      EXPECT_EQ(clicked.owner, window_);
      EXPECT_FALSE(clicked.ownerEnabled);
    }
    if (c.wire.empty()) {
      expectNothingSent();
    } else {
      expectSent(c.wire);
    }
    // Only a row that was sent is emptied.
    for (std::size_t i = 0; i < edits.size(); ++i)
      EXPECT_EQ(windowText(edits[i]), c.caption == nullptr ? L"" : c.texts[i]) << "edit " << i;
  }
  // Sending changes none of the values shown until the unit replies.
  EXPECT_TRUE(showsLine(window_, 8, 8, L"Current IP address: 0.0.0.0 : 0"));
  EXPECT_EQ(controlState.ipAddress[0], 0);
}

// The edits take typed digits only.
TEST_F(NetworkSettingsTest, TypedDigitsAreSentAndLettersRefused) {
  HWND first = ipAddressEdit(0);
  typeInto(first, L"1x9");
  EXPECT_EQ(windowText(first), L"19");
  const wchar_t* rest[] = {L"168", L"1", L"20"};
  for (int i = 1; i < 4; ++i) SetWindowTextW(ipAddressEdit(i), rest[i - 1]);
  Clicked clicked = clickSet(window_, IDC_SET_IP_ADDRESS);
  EXPECT_FALSE(clicked.boxShown);
  expectSent(onWire("<SIPR[19-168-1-20]>", 25));
}

// The older window's "Set" reads and empties its own edits.
TEST_F(NetworkSettingsTest, AnOlderWindowsSetReadsItsOwnEdits) {
  HWND older = window_;
  HWND newer = openThroughMenu(IDM_NETWORK_SETTINGS);
  expectSent("<SIPR><SPORT><SUBR><GAR>");
  ASSERT_NE(older, newer);
  std::vector<HWND> olderRow = rowEdits(older, IDC_SET_GATEWAY);
  std::vector<HWND> newerRow = rowEdits(newer, IDC_SET_GATEWAY);
  const wchar_t* olderTexts[] = {L"10", L"0", L"0", L"1"};
  const wchar_t* newerTexts[] = {L"172", L"16", L"0", L"254"};
  for (int i = 0; i < 4; ++i) {
    SetWindowTextW(olderRow[static_cast<std::size_t>(i)], olderTexts[i]);
    SetWindowTextW(newerRow[static_cast<std::size_t>(i)], newerTexts[i]);
  }
  EXPECT_FALSE(clickSet(older, IDC_SET_GATEWAY).boxShown);
  expectSent(onWire("<GAR[10-0-0-1]>", 24));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(windowText(olderRow[static_cast<std::size_t>(i)]), L"");
    EXPECT_EQ(windowText(newerRow[static_cast<std::size_t>(i)]), newerTexts[i]);
  }

  // After the newest is gone the older still reads its own port edit.
  DestroyWindow(newer);
  SetWindowTextW(rowEdits(older, IDC_SET_PORT)[0], L"8080");
  EXPECT_FALSE(clickSet(older, IDC_SET_PORT).boxShown);
  expectSent(onWire("<SPORT[8080]>", 15));
}

namespace {
class NetworkOpeningTest : public ConnectedPanelTest {};

}  // namespace

// The four queries go out in order with a pause of 100 ms before each of the
// last three.
TEST_F(NetworkOpeningTest, TheQueriesArePacedInOrder) {
  stampCommandsOnTheirWay();
  openThroughMenu(IDM_NETWORK_SETTINGS);
  expectSent("<SIPR><SPORT><SUBR><GAR>");
  ASSERT_EQ(commandStamps().size(), 4u);
  EXPECT_GE(shortestGapBetweenCommands(), 95.0);
}
