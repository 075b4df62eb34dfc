// The main window as created: its size and place, every control's place, id,
// caption and state, the two window classes and the console's capacity.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "protocol/control_state.h"
#include "tools/harness/controls_and_menus.h"
#include "tools/harness/panel_fixtures.h"
#include "tools/harness/panel_in_process.h"
#include "ui/main/console_pane.h"
#include "ui/main/main_window.h"

namespace {
class MainWindowLayout : public PanelTest {};

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

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

struct ExpectedControl {
  int id;
  const wchar_t* className;
  std::wstring caption;
  RECT rect;   // client pixels: left, top, right, bottom
  bool enabled;
  bool multiline;
  HWND* handle;
  HFONT* font;
};

RECT box(int x, int y, int w, int h) { return RECT{x, y, x + w, y + h}; }

std::vector<ExpectedControl> expectedControls() {
  MainWindowState& s = mainWindowState;
  std::vector<ExpectedControl> rows;
  for (int k = 0; k < 9; ++k) {
    rows.push_back({500 + 4 * k, L"Button", std::to_wstring(k + 1), box(8 + 38 * k, 124, 30, 38), false, false,
                    &s.audioInputButtons[k], &s.uiFont});
    rows.push_back({700 + k, L"msctls_trackbar32", L"Trackbar Control", box(8 + 38 * k, 170, 30, 100), false,
                    false, &s.audioLevelTrackbars[k], nullptr});
  }
  rows.push_back({536, L"Button", L"HDMI/\nHDBT", box(350, 124, 55, 38), false, true, &s.audioInputButtons[9],
                  &s.uiFont});
  rows.push_back({709, L"msctls_trackbar32", L"Trackbar Control", box(362, 170, 30, 100), false, false,
                  &s.audioLevelTrackbars[9], nullptr});
  const wchar_t* gridCaptions[] = {L"CV", L"YPbPr", L"VGA1", L"VGA2", L"HDMI1", L"HDMI2", L"HDMI3"};
  for (int k = 0; k < 7; ++k) {
    rows.push_back({600 + 4 * k, L"Button", gridCaptions[k], box(8 + 81 * (k / 2), 28 + 38 * (k % 2), 73, 30),
                    false, false, &s.videoInputButtons[k], &s.uiFont});
  }
  rows.push_back({628, L"Button", L"Display\nPort", box(332, 28, 73, 68), false, true, &s.videoInputButtons[7],
                  &s.uiFont});
  rows.push_back({632, L"Button", L"HDBaseT", box(251, 66, 73, 30), false, true, &s.videoInputButtons[8],
                  &s.uiFont});
  rows.push_back({1012, L"Button", L"HDMI\nVol+", box(425, 28, 55, 55), false, true, &s.hdmiVolUpButton, &s.uiFont});
  rows.push_back({1013, L"Button", L"HDMI\nVol-", box(425, 90, 55, 55), false, true, &s.hdmiVolDownButton, &s.uiFont});
  rows.push_back({1014, L"Button", L"HDMI\nMute", box(425, 152, 55, 54), false, true, &s.hdmiMuteButton, &s.uiFont});
  rows.push_back({1015, L"Button", L"Analog\nVol+", box(488, 28, 55, 55), false, true, &s.analogVolUpButton,
                  &s.uiFont});
  rows.push_back({1016, L"Button", L"Analog\nVol-", box(488, 90, 55, 55), false, true, &s.analogVolDownButton,
                  &s.uiFont});
  rows.push_back({1017, L"Button", L"Analog\nMute", box(488, 152, 55, 54), false, true, &s.analogMuteButton,
                  &s.uiFont});
  rows.push_back({1018, L"Button", L"Mute All ", box(425, 214, 118, 54), false, false, &s.muteAllButton, &s.uiFont});
  rows.push_back({1002, L"Edit", L"", box(8, 278, 535, 200), true, true, &s.consoleEdit, &s.fixedFont});
  rows.push_back({1003, L"Edit", L"", box(8, 486, 389, 23), false, false, &s.sendEdit, &s.fixedFont});
  rows.push_back({1004, L"Button", L"Send", box(405, 486, 65, 23), false, false, &s.sendButton, &s.uiFont});
  rows.push_back({1019, L"Button", L"Clear", box(478, 486, 65, 23), false, false, &s.clearButton, &s.uiFont});
  return rows;
}

TEST_F(MainWindowLayout, EveryControlHasItsPlaceIdCaptionStateAndFont) {
  HWND window = startPanel();
  ASSERT_NE(window, nullptr);
  for (const ExpectedControl& row : expectedControls()) {
    SCOPED_TRACE("control " + std::to_string(row.id) + " " + narrow(row.caption));
    HWND control = GetDlgItem(window, row.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control, *row.handle);
    wchar_t className[64] = {};
    GetClassNameW(control, className, 64);
    EXPECT_EQ(lstrcmpiW(className, row.className), 0) << narrow(className);
    EXPECT_EQ(windowText(control), row.caption);
    RECT rect = childRect(control);
    EXPECT_EQ(rect.left, row.rect.left);
    EXPECT_EQ(rect.top, row.rect.top);
    EXPECT_EQ(rect.right, row.rect.right);
    EXPECT_EQ(rect.bottom, row.rect.bottom);
    EXPECT_EQ(IsWindowEnabled(control) != FALSE, row.enabled);
    EXPECT_TRUE(IsWindowVisible(control));
    LONG style = GetWindowLongW(control, GWL_STYLE);
    if (row.font != nullptr) {
      EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), *row.font);
    } else {
      EXPECT_EQ(SendMessageW(control, TBM_GETRANGEMIN, 0, 0), 0);
      EXPECT_EQ(SendMessageW(control, TBM_GETRANGEMAX, 0, 0), 7);
      EXPECT_EQ(style & (TBS_VERT | TBS_BOTH | TBS_NOTICKS), TBS_VERT | TBS_BOTH | TBS_NOTICKS);
    }
    if (lstrcmpiW(row.className, L"Button") == 0) {
      EXPECT_EQ(style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
      EXPECT_EQ((style & BS_MULTILINE) != 0, row.multiline);
      EXPECT_NE(style & WS_TABSTOP, 0);
    }
    if (row.id == 1002) {
      EXPECT_EQ(style & (ES_MULTILINE | ES_READONLY | WS_VSCROLL), ES_MULTILINE | ES_READONLY | WS_VSCROLL);
    }
    if (row.id == 1003) {
      EXPECT_EQ(style & (ES_MULTILINE | ES_AUTOHSCROLL), 0);
    }
  }
}

TEST_F(MainWindowLayout, TheTwoWindowClassesAreRegisteredAsTheProgramNeedsThem) {
  ASSERT_NE(startPanel(), nullptr);
  struct Row {
    const wchar_t* name;
    bool hasIcon;
    const wchar_t* menu;
    HBRUSH background;
    const wchar_t* procedureName;
  };
  const Row rows[] = {
      {L"zaro", true, MAKEINTRESOURCEW(2001), nullptr, L"main"},
      {L"zaro_subwin", false, nullptr, reinterpret_cast<HBRUSH>(COLOR_MENU + 1), L"settings"},
  };
  for (const Row& row : rows) {
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), row.name, &info));
    EXPECT_EQ(info.style, 0u);
    EXPECT_EQ(info.hIcon != nullptr, row.hasIcon);
    EXPECT_EQ(info.lpszMenuName, row.menu);
    EXPECT_EQ(info.hCursor, LoadCursorW(nullptr, IDC_ARROW));
    if (row.background != nullptr) {
      EXPECT_EQ(info.hbrBackground, row.background);
    }
  }
  // The main class's own brush is the panel grey.
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"zaro", &info));
  LOGBRUSH brush{};
  ASSERT_TRUE(GetObjectW(info.hbrBackground, sizeof brush, &brush));
  EXPECT_EQ(brush.lbColor, RGB(238, 238, 238));
}

// The pane keeps every line until "Clear", far beyond an edit's default limit.
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
