#pragma once
// Helpers for the settings window tests: a connected control panel with the
// unit's end of the line, opening windows through the menu, reading back the
// painted current-value lines and the controls' places.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/win/support/test_support.h"

// The whole program started and connected to the test port; peer plays the unit.
class ConnectedPanelTest : public testing::Test {
 protected:
  ConnectedPanelTest();
  void SetUp() override;

  // Chooses a "&Settings" menu item; returns the slot that its window fills.
  HWND openThroughMenu(int menuId);
  // Sends the unit's reply text and waits until the program has echoed it.
  void reply(const std::string& text);
  // Everything the unit receives until the line has been quiet a while.
  std::string received() { return peer.readUntilQuiet(400); }

  SerialPeer peer;
};

// What the unit receives on the serial link for a command text with transmit
// count n: the text and zero bytes up to n - 1 bytes.
std::string onWire(const std::string& text, int n);

// The window text, place, size, id, style and font of one child control.
struct ControlFacts {
  std::wstring className;
  std::wstring text;
  RECT rect;
  int id;
  DWORD style;
  HFONT font;
};
ControlFacts controlFacts(HWND control);

// The child controls of a window in creation order (oldest first).
std::vector<HWND> childrenInCreationOrder(HWND window);

// Clicks a button as the operator would (BM_CLICK).
void clickButton(HWND button);

// True when the client area at (x, y) shows exactly text drawn with uiFont in
// black on the light grey text box, as a rendering in a memory DC shows it,
// and nothing else from there to the column right (-1: the client's edge).
bool showsLine(HWND window, int x, int y, const std::wstring& text, int right = -1);

// True when the rectangle of the client area shows only the class background.
bool showsOnlyBackground(HWND window, const RECT& area);

// The client rectangle's size and the outer rectangle, in screen pixels.
SIZE clientSize(HWND window);
