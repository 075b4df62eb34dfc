// Which window stands in front of which, as a window manager keeps them: a
// settings window belongs to the main window, so a click into the main window
// leaves it in front. Run with the rig's window manager
// (scripts/with-window-manager.sh): without one, Wine itself stacks its
// windows and puts an owner that takes the focus above what it owns.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "tests/support/controls_and_menus.h"
#include "tests/support/panel_fixtures.h"
#include "tests/support/screen_reading.h"
#include "tools/panel-driver/timing.h"
#include "ui/ids.h"

namespace {
class WindowStacking : public ConnectedPanelTest {};

// What the operator sees: settings stands in front of main where the two
// overlap when the screen there shows the settings window's own background,
// at points where the main window shows something else.
bool seenInFront(HWND settings, HWND main) {
  const COLORREF background = GetSysColor(COLOR_MENU);
  RECT client{};
  GetClientRect(settings, &client);
  RECT mainClient{};
  GetClientRect(main, &mainClient);
  HDC screen = GetDC(nullptr);
  int told = 0;
  bool inFront = true;
  for (int y = 2; y < client.bottom && told < 20; y += 6) {
    for (int x = 2; x < client.right && told < 20; x += 6) {
      POINT at{x, y};
      ClientToScreen(settings, &at);
      POINT inMain = at;
      ScreenToClient(main, &inMain);
      if (!PtInRect(&mainClient, inMain) || clientPixel(settings, x, y) != background ||
          clientPixel(main, inMain.x, inMain.y) == background)
        continue;
      ++told;
      if (GetPixel(screen, at.x, at.y) != background) inFront = false;
    }
  }
  ReleaseDC(nullptr, screen);
  return told > 0 && inFront;
}

// Watches for a while for what must not happen: true when held stayed true
// at every look, the messages pumped between looks.
bool holdsThroughout(const std::function<bool()>& held, double ms) {
  double until = nowMs() + ms;
  while (nowMs() < until) {
    if (!held()) return false;
    pumpFor(10);
  }
  return held();
}

// A client point of the main window that the settings window does not cover.
POINT mainWindowPointBeside(HWND settings) {
  RECT covered{};
  GetWindowRect(settings, &covered);
  for (POINT client : {POINT{4, 4}, POINT{545, 4}, POINT{4, 272}, POINT{545, 272}}) {
    POINT screen = client;
    ClientToScreen(mainWindowState.mainWindow, &screen);
    if (!PtInRect(&covered, screen)) return client;
  }
  return POINT{-1, -1};
}

TEST_F(WindowStacking, SettingsWindowsStayInFrontOfTheMainWindow) {
  HWND main = mainWindowState.mainWindow;
  for (int menuId : {IDM_OUTPUT_VIDEO_SETTINGS, IDM_VGA_IMAGE_ADJUSTMENTS, IDM_NETWORK_SETTINGS}) {
    SCOPED_TRACE(testing::Message() << menuId);
    HWND window = openThroughMenu(menuId);
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(GetWindow(window, GW_OWNER), main);
    ASSERT_TRUE(waitFor([&] { return GetForegroundWindow() == window; }));
    ASSERT_TRUE(waitFor([&] { return seenInFront(window, main); }));
    POINT beside = mainWindowPointBeside(window);
    ASSERT_GE(beside.x, 0) << "the settings window covers the main window's corners";
    // A window manager may take a click that comes as it maps a window for
    // its own; the operator then clicks again.
    bool activated = false;
    for (int click = 0; click < 3 && !activated; ++click) {
      clickWithMouse(main, beside.x, beside.y);
      activated = waitFor([&] { return GetActiveWindow() == main; }, 3000);
    }
    ASSERT_TRUE(activated);
    // The window manager restacks the windows after the click.
    EXPECT_TRUE(holdsThroughout([&] { return seenInFront(window, main); }, 1000));
    SendMessageW(window, WM_CLOSE, 0, 0);
  }
}
}  // namespace
