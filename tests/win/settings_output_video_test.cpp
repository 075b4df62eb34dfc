// "Output Video Settings" on a connected panel: its controls, the bytes each
// one sends, the opening queries and what the unit's replies change.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "protocol/control_state.h"
#include "tools/harness/byte_text.h"
#include "tools/harness/controls_and_menus.h"
#include "tools/harness/panel_fixtures.h"
#include "tools/harness/panel_in_process.h"
#include "tools/harness/screen_reading.h"
#include "tools/harness/unit_traffic.h"
#include "tools/harness/waiting.h"
#include "ui/ids.h"
#include "ui/main/main_window.h"
#include "ui/settings/network_settings.h"
#include "ui/settings/output_video_settings.h"
#include "ui/settings/vga_image_adjustments.h"

namespace {
class OutputVideoTest : public ConnectedPanelTest {
 protected:
  void SetUp() override {
    ConnectedPanelTest::SetUp();
    if (HasFatalFailure()) return;
    window_ = openThroughMenu(IDM_OUTPUT_VIDEO_SETTINGS);
    ASSERT_TRUE(IsWindow(window_));
    ASSERT_EQ(received(), std::string("R OUTPUT!Brightness*Contrast*\0\0", 31));
  }

  HWND item(int id) { return GetDlgItem(window_, id); }
  void pressKey(HWND trackbar, WPARAM key) {
    SendMessageW(trackbar, WM_KEYDOWN, key, 0);
    SendMessageW(trackbar, WM_KEYUP, key, 0);
    pumpMessages();
  }

  HWND window_ = nullptr;
};

const wchar_t kCurrentPrefix[] = L"Current resolution: ";
}  // namespace

TEST_F(OutputVideoTest, ControlsStandWhereTheyBelongWithTheirIdsStylesAndFonts) {
  struct Expected {
    const wchar_t* className;
    const wchar_t* text;
    RECT rect;
    int id;
    DWORD style;
    HFONT font;
  };
  const DWORD trackbarStyle =
      WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_BOTH | TBS_NOTICKS | TBS_ENABLESELRANGE;
  const Expected expected[] = {
      {L"ComboBox", L"", {8, 32, 188, 0}, IDC_RESOLUTION_COMBO,
       WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_HASSTRINGS, mainWindowState.uiFont},
      {L"Button", L"Set", {196, 32, 261, 55}, IDC_SET_RESOLUTION,
       WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, mainWindowState.uiFont},
      {L"msctls_trackbar32", L"Trackbar Control", {8, 94, 261, 124}, IDC_BRIGHTNESS_TRACKBAR, trackbarStyle,
       nullptr},
      {L"msctls_trackbar32", L"Trackbar Control", {8, 156, 261, 186}, IDC_CONTRAST_TRACKBAR, trackbarStyle,
       nullptr},
  };
  std::vector<HWND> children = childrenInCreationOrder(window_);
  ASSERT_EQ(children.size(), std::size(expected));
  for (std::size_t i = 0; i < children.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "control " << i);
    ControlFacts facts = controlFacts(children[i]);
    EXPECT_EQ(facts.className, expected[i].className);
    if (i != 0) {   // the list shows its selection instead
      EXPECT_EQ(facts.text, expected[i].text);
    }
    EXPECT_EQ(facts.id, expected[i].id);
    EXPECT_EQ(facts.style, expected[i].style);
    EXPECT_EQ(facts.font, expected[i].font);
    EXPECT_EQ(facts.rect.left, expected[i].rect.left);
    EXPECT_EQ(facts.rect.top, expected[i].rect.top);
    EXPECT_EQ(facts.rect.right, expected[i].rect.right);
    if (i != 0) {
      EXPECT_EQ(facts.rect.bottom, expected[i].rect.bottom);
    }
  }
  // The list's given height is room enough to drop all sixteen entries down.
  HWND combo = item(IDC_RESOLUTION_COMBO);
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  pumpMessages();
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(combo, &info));
  RECT list{};
  GetClientRect(info.hwndList, &list);
  LRESULT itemHeight = SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0);
  EXPECT_GE(list.bottom, kResolutionCount * itemHeight);
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);

  EXPECT_EQ(resolutionCombo(), item(IDC_RESOLUTION_COMBO));
  EXPECT_EQ(brightnessTrackbar(), item(IDC_BRIGHTNESS_TRACKBAR));
  EXPECT_EQ(contrastTrackbar(), item(IDC_CONTRAST_TRACKBAR));
}

TEST_F(OutputVideoTest, TheListHoldsTheSixteenResolutionsAndTheTrackbarsStartAtZero) {
  HWND combo = item(IDC_RESOLUTION_COMBO);
  ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), kResolutionCount);
  for (int i = 0; i < kResolutionCount; ++i) {
    wchar_t text[32] = {};
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, resolutionTable[i]);
  }
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
  for (int id : {IDC_BRIGHTNESS_TRACKBAR, IDC_CONTRAST_TRACKBAR}) {
    EXPECT_EQ(SendMessageW(item(id), TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageW(item(id), TBM_GETRANGEMAX, 0, 0), 100);
    EXPECT_EQ(SendMessageW(item(id), TBM_GETPOS, 0, 0), 0);
  }
  EXPECT_TRUE(controlState.brightnessQueryPending);
  EXPECT_TRUE(controlState.contrastQueryPending);
}

TEST_F(OutputVideoTest, SetSendsTheSelectedIndexAsOneUpperCaseHexDigit) {
  struct SetCase {
    int index;
    const char* text;
  };
  // Index 0 is also the unit's known resolution: it is sent all the same.
  const SetCase cases[] = {{0, "S OUTPUT 0!"}, {9, "S OUTPUT 9!"}, {10, "S OUTPUT A!"}, {15, "S OUTPUT F!"}};
  for (const SetCase& c : cases) {
    SendMessageW(item(IDC_RESOLUTION_COMBO), CB_SETCURSEL, c.index, 0);
    clickButton(item(IDC_SET_RESOLUTION));
    EXPECT_EQ(received(), onWire(c.text, 12)) << c.index;
    std::wstring echo = L"Tx> " + std::wstring(c.text, c.text + strlen(c.text)) + L"\r\n";
    EXPECT_NE(paneText().find(echo), std::wstring::npos) << c.index;
  }
  EXPECT_EQ(controlState.outputResolution, 0) << "only a reply changes it";
}

TEST_F(OutputVideoTest, TrackbarKeysSendTheNewValueUnlessItWasTheLastSent) {
  struct KeyCase {
    int id;
    int from;
    WPARAM key;
    std::string wire;
  };
  const KeyCase cases[] = {
      {IDC_BRIGHTNESS_TRACKBAR, 1, VK_LEFT, ""},   // 0 was never sent, but counts as the last value
      {IDC_BRIGHTNESS_TRACKBAR, 4, VK_RIGHT, onWire("Brightness 005*", 16)},
      {IDC_BRIGHTNESS_TRACKBAR, 99, VK_RIGHT, onWire("Brightness 100*", 16)},
      {IDC_BRIGHTNESS_TRACKBAR, 99, VK_RIGHT, ""},
      {IDC_BRIGHTNESS_TRACKBAR, 1, VK_LEFT, onWire("Brightness 000*", 16)},
      {IDC_CONTRAST_TRACKBAR, 1, VK_LEFT, ""},
      {IDC_CONTRAST_TRACKBAR, 49, VK_RIGHT, onWire("Contrast 050*", 14)},
      {IDC_CONTRAST_TRACKBAR, 9, VK_RIGHT, onWire("Contrast 010*", 14)},
      {IDC_CONTRAST_TRACKBAR, 99, VK_RIGHT, onWire("Contrast 100*", 14)},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " from " << c.from);
    HWND trackbar = item(c.id);
    SendMessageW(trackbar, TBM_SETPOS, TRUE, c.from);
    std::wstring before = paneText();
    pressKey(trackbar, c.key);
    EXPECT_EQ(printable(received()), printable(c.wire));
    std::wstring added = paneText().substr(before.size());
    std::string text = c.wire.substr(0, c.wire.find('\0'));
    EXPECT_EQ(added, c.wire.empty() ? L"" : L"Tx> " + std::wstring(text.begin(), text.end()) + L"\r\n");
  }
}

// A drag sends each new position once, in order; letting go where the thumb
// stands sends nothing more.
TEST_F(OutputVideoTest, DraggingTheThumbSendsEachNewPositionOnce) {
  HWND trackbar = item(IDC_BRIGHTNESS_TRACKBAR);
  RECT thumb{}, channel{};
  SendMessageW(trackbar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  SendMessageW(trackbar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  int y = (thumb.top + thumb.bottom) / 2;
  int x = (thumb.left + thumb.right) / 2;
  SendMessageW(trackbar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  std::vector<int> positions;
  // Right past the end, then back to the middle, some pixels twice.
  std::vector<int> path;
  for (int px = x; px <= channel.right + 10; px += 1) path.push_back(px);
  for (int px = channel.right + 10; px >= (channel.left + channel.right) / 2; px -= 3) path.push_back(px);
  for (int px : path) {
    SendMessageW(trackbar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(px, y));
    positions.push_back(static_cast<int>(SendMessageW(trackbar, TBM_GETPOS, 0, 0)));
  }
  SendMessageW(trackbar, WM_LBUTTONUP, 0, MAKELPARAM(path.back(), y));
  pumpMessages();

  std::string expected;
  int last = 0;
  for (int position : positions) {
    if (position == last) continue;
    char text[24];
    snprintf(text, sizeof text, "Brightness %03d*", position);
    expected += onWire(text, 16);
    last = position;
  }
  ASSERT_NE(positions.back(), 0);
  EXPECT_NE(std::find(positions.begin(), positions.end(), 100), positions.end());
  EXPECT_EQ(received(), expected);
  EXPECT_EQ(controlState.lastBrightnessSent, positions.back());
}

TEST_F(OutputVideoTest, OnlyTheFirstValueReplyAfterOpeningMovesATrackbarAndMovingSendsNothing) {
  reply("Brightness Value: 40\r\nContrast Value: 60\r\n");
  EXPECT_EQ(SendMessageW(item(IDC_BRIGHTNESS_TRACKBAR), TBM_GETPOS, 0, 0), 40);
  EXPECT_EQ(SendMessageW(item(IDC_CONTRAST_TRACKBAR), TBM_GETPOS, 0, 0), 60);
  EXPECT_FALSE(controlState.brightnessQueryPending);
  EXPECT_FALSE(controlState.contrastQueryPending);
  EXPECT_EQ(received(), "");
  EXPECT_EQ(controlState.lastBrightnessSent, 0);

  reply("Brightness Value: 70\r\nContrast Value: 10\r\n");
  EXPECT_EQ(SendMessageW(item(IDC_BRIGHTNESS_TRACKBAR), TBM_GETPOS, 0, 0), 40);
  EXPECT_EQ(SendMessageW(item(IDC_CONTRAST_TRACKBAR), TBM_GETPOS, 0, 0), 60);

  // A notification at the reported position sends it: it was never sent.
  SendMessageW(item(IDC_BRIGHTNESS_TRACKBAR), WM_KEYUP, VK_RIGHT, 0);
  pumpMessages();
  EXPECT_EQ(received(), onWire("Brightness 040*", 16));
}

TEST_F(OutputVideoTest, TheCurrentResolutionLineFollowsTheUnitsReplies) {
  EXPECT_TRUE(showsLine(window_, 8, 8, std::wstring(kCurrentPrefix) + L"640x480@60Hz"));
  EXPECT_TRUE(showsLine(window_, 8, 70, L"Set brightness"));
  EXPECT_TRUE(showsLine(window_, 8, 132, L"Set contrast"));

  struct ReplyCase {
    const char* text;
    const wchar_t* shown;
    int selection;
  };
  const ReplyCase cases[] = {
      {"Output Resolution: 1920x1080@60Hz\r\n", L"1920x1080@60Hz", 14},
      // The short form leaves the list alone.
      {"OUTPUT 1280x720@60Hz\r\n", L"1280x720@60Hz", 14},
      {"OUTPUT 1280x720@59Hz\r\n", L"1280x720@60Hz", 14},
      {"Output Resolution: 2560x1440@60Hz\r\n", L"1280x720@60Hz", 14},
      {">Output Resolution: 1920x1200@60Hz\r\n", L"1920x1200@60Hz", 15},
  };
  std::wstring previous = L"640x480@60Hz";
  for (const ReplyCase& c : cases) {
    SCOPED_TRACE(c.text);
    reply(c.text);
    EXPECT_TRUE(showsLine(window_, 8, 8, kCurrentPrefix + std::wstring(c.shown)));
    if (previous != c.shown) {
      EXPECT_FALSE(showsLine(window_, 8, 8, kCurrentPrefix + previous));
    }
    EXPECT_EQ(SendMessageW(item(IDC_RESOLUTION_COMBO), CB_GETCURSEL, 0, 0), c.selection);
    previous = c.shown;
  }
  EXPECT_EQ(received(), "");
}

// The older window's "Set" reads its own list, not the newest window's.
TEST_F(OutputVideoTest, AnOlderWindowsSetReadsItsOwnList) {
  HWND older = window_;
  HWND newer = openThroughMenu(IDM_OUTPUT_VIDEO_SETTINGS);
  received();
  ASSERT_NE(older, newer);
  SendMessageW(GetDlgItem(older, IDC_RESOLUTION_COMBO), CB_SETCURSEL, 5, 0);
  SendMessageW(GetDlgItem(newer, IDC_RESOLUTION_COMBO), CB_SETCURSEL, 12, 0);
  clickButton(GetDlgItem(older, IDC_SET_RESOLUTION));
  EXPECT_EQ(received(), onWire("S OUTPUT 5!", 12));
  clickButton(GetDlgItem(newer, IDC_SET_RESOLUTION));
  EXPECT_EQ(received(), onWire("S OUTPUT C!", 12));

  // With the newest gone, the older one still sends from its own controls.
  DestroyWindow(newer);
  clickButton(GetDlgItem(older, IDC_SET_RESOLUTION));
  EXPECT_EQ(received(), onWire("S OUTPUT 5!", 12));
  HWND trackbar = GetDlgItem(older, IDC_CONTRAST_TRACKBAR);
  SendMessageW(trackbar, TBM_SETPOS, TRUE, 32);
  pressKey(trackbar, VK_RIGHT);
  EXPECT_EQ(received(), onWire("Contrast 033*", 14));
  // A late reply finds no control to move.
  reply("Output Resolution: 800x600@60Hz\r\nContrast Value: 80\r\n");
  EXPECT_EQ(SendMessageW(trackbar, TBM_GETPOS, 0, 0), 33);
  EXPECT_EQ(SendMessageW(GetDlgItem(older, IDC_RESOLUTION_COMBO), CB_GETCURSEL, 0, 0), 5);
}
