// "Output Video Settings" on a connected panel: its controls, the bytes each
// one sends, the opening queries and what the unit's replies change.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/controls_and_menus.h"
#include "tests/support/panel_fixtures.h"
#include "tests/support/screen_reading.h"
#include "ui/ids.h"

namespace {
class OutputVideoTest : public ConnectedPanelTest {
 protected:
  void SetUp() override {
    ConnectedPanelTest::SetUp();
    if (HasFatalFailure()) return;
    window_ = openThroughMenu(IDM_OUTPUT_VIDEO_SETTINGS);
    ASSERT_TRUE(IsWindow(window_));
    expectSent(std::string("R OUTPUT!Brightness*Contrast*\0\0", 31));
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

// The list holds the sixteen modes in their order and starts at the first;
// its given height is room enough to drop them all down.
TEST_F(OutputVideoTest, TheListHoldsTheSixteenResolutionsAndTheTrackbarsStartAtZero) {
  HWND combo = item(IDC_RESOLUTION_COMBO);
  ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), kResolutionCount);
  for (int i = 0; i < kResolutionCount; ++i) {
    wchar_t text[32] = {};
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, resolutionTable[i]);
  }
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  pumpMessages();
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(combo, &info));
  RECT list{};
  GetClientRect(info.hwndList, &list);
  EXPECT_GE(list.bottom, kResolutionCount * SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  for (int id : {IDC_BRIGHTNESS_TRACKBAR, IDC_CONTRAST_TRACKBAR}) {
    EXPECT_EQ(SendMessageW(item(id), TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageW(item(id), TBM_GETRANGEMAX, 0, 0), 100);
    EXPECT_EQ(SendMessageW(item(id), TBM_GETPOS, 0, 0), 0);
  }
  EXPECT_TRUE(controlState.brightnessQueryPending);
  EXPECT_TRUE(controlState.contrastQueryPending);
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
      {IDC_CONTRAST_TRACKBAR, 49, VK_RIGHT, onWire("Contrast 050*", 14)},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " from " << c.from);
    HWND trackbar = item(c.id);
    SendMessageW(trackbar, TBM_SETPOS, TRUE, c.from);
    std::wstring before = paneText();
    pressKey(trackbar, c.key);
    if (c.wire.empty()) {
      std::wstring pane = paneText();
      expectNothingSent();
      EXPECT_EQ(pane, before);
      continue;
    }
    expectSent(c.wire);
    std::wstring added = paneText().substr(before.size());
    std::string text = c.wire.substr(0, c.wire.find('\0'));
    EXPECT_EQ(added, L"Tx> " + std::wstring(text.begin(), text.end()) + L"\r\n");
  }
}

// The operator sends 62, closes the window and opens it again; the unit
// reports 42 and the trackbar shows it. That value is what the unit has: a
// move back to 62 goes out, a notification at 42 sends nothing. Only the first
// value reply after the opening moves a trackbar.
TEST_F(OutputVideoTest, AValueReplyMovesTheTrackbarOnceAndBecomesTheLastValue) {
  SendMessageW(item(IDC_BRIGHTNESS_TRACKBAR), TBM_SETPOS, TRUE, 61);
  pressKey(item(IDC_BRIGHTNESS_TRACKBAR), VK_RIGHT);
  expectSent(onWire("Brightness 062*", 16));
  SendMessageW(window_, WM_CLOSE, 0, 0);
  window_ = openThroughMenu(IDM_OUTPUT_VIDEO_SETTINGS);
  expectSent(std::string("R OUTPUT!Brightness*Contrast*\0\0", 31));

  reply("Brightness Value: 42\r\nContrast Value: 60\r\n");
  reply("Brightness Value: 70\r\nContrast Value: 10\r\n");
  EXPECT_EQ(SendMessageW(item(IDC_BRIGHTNESS_TRACKBAR), TBM_GETPOS, 0, 0), 42);
  EXPECT_EQ(SendMessageW(item(IDC_CONTRAST_TRACKBAR), TBM_GETPOS, 0, 0), 60);
  EXPECT_FALSE(controlState.brightnessQueryPending);
  EXPECT_FALSE(controlState.contrastQueryPending);

  SendMessageW(item(IDC_BRIGHTNESS_TRACKBAR), WM_KEYUP, VK_RIGHT, 0);
  pumpMessages();
  expectNothingSent();
  SendMessageW(item(IDC_BRIGHTNESS_TRACKBAR), TBM_SETPOS, TRUE, 61);
  pressKey(item(IDC_BRIGHTNESS_TRACKBAR), VK_RIGHT);
  expectSent(onWire("Brightness 062*", 16));
  pressKey(item(IDC_CONTRAST_TRACKBAR), VK_LEFT);
  expectSent(onWire("Contrast 059*", 14));
}

// The operator moves one trackbar before the unit has answered the opening
// queries: the late answer tells what the unit held before the move, so it no
// longer moves that trackbar, and the operator's value stays the last one
// sent. The other trackbar's answer, still awaited, applies.
TEST_F(OutputVideoTest, TheOperatorsMoveWinsOverAnAnswerStillAwaited) {
  struct MoveCase {
    int moved, other;
    const char* name;
    int n;
    const char* answers;
    int otherAnswer;
  };
  const MoveCase cases[] = {
      {IDC_BRIGHTNESS_TRACKBAR, IDC_CONTRAST_TRACKBAR, "Brightness", 16,
       "Brightness Value: 50\r\nContrast Value: 60\r\n", 60},
      {IDC_CONTRAST_TRACKBAR, IDC_BRIGHTNESS_TRACKBAR, "Contrast", 14,
       "Brightness Value: 45\r\nContrast Value: 65\r\n", 45}};
  for (const MoveCase& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.moved != cases[0].moved) {   // a new window asks again
      SendMessageW(window_, WM_CLOSE, 0, 0);
      window_ = openThroughMenu(IDM_OUTPUT_VIDEO_SETTINGS);
      expectSent(std::string("R OUTPUT!Brightness*Contrast*\0\0", 31));
    }
    HWND moved = item(c.moved);
    pressKey(moved, VK_NEXT);
    const std::string name = c.name;
    expectSent(onWire(name + " 020*", c.n));
    reply(c.answers);
    EXPECT_EQ(SendMessageW(moved, TBM_GETPOS, 0, 0), 20);
    EXPECT_EQ(SendMessageW(item(c.other), TBM_GETPOS, 0, 0), c.otherAnswer);
    pressKey(moved, VK_LEFT);
    expectSent(onWire(name + " 019*", c.n));
  }
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
  expectNothingSent();
}

// The older window's "Set" reads its own list, not the newest window's.
TEST_F(OutputVideoTest, AnOlderWindowsSetReadsItsOwnList) {
  HWND older = window_;
  HWND newer = openThroughMenu(IDM_OUTPUT_VIDEO_SETTINGS);
  expectSent(std::string("R OUTPUT!Brightness*Contrast*\0\0", 31));
  ASSERT_NE(older, newer);
  SendMessageW(GetDlgItem(older, IDC_RESOLUTION_COMBO), CB_SETCURSEL, 5, 0);
  SendMessageW(GetDlgItem(newer, IDC_RESOLUTION_COMBO), CB_SETCURSEL, 12, 0);
  clickButton(GetDlgItem(older, IDC_SET_RESOLUTION));
  expectSent(onWire("S OUTPUT 5!", 12));
  clickButton(GetDlgItem(newer, IDC_SET_RESOLUTION));
  expectSent(onWire("S OUTPUT C!", 12));

  // With the newest gone, the older one still sends from its own controls.
  DestroyWindow(newer);
  clickButton(GetDlgItem(older, IDC_SET_RESOLUTION));
  expectSent(onWire("S OUTPUT 5!", 12));
  HWND trackbar = GetDlgItem(older, IDC_CONTRAST_TRACKBAR);
  SendMessageW(trackbar, TBM_SETPOS, TRUE, 32);
  pressKey(trackbar, VK_RIGHT);
  expectSent(onWire("Contrast 033*", 14));
  // A late reply finds no control to move.
  reply("Output Resolution: 800x600@60Hz\r\nContrast Value: 80\r\n");
  EXPECT_EQ(SendMessageW(trackbar, TBM_GETPOS, 0, 0), 33);
  EXPECT_EQ(SendMessageW(GetDlgItem(older, IDC_RESOLUTION_COMBO), CB_GETCURSEL, 0, 0), 5);
}
