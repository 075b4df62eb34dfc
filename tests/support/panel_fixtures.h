#pragma once
// GoogleTest fixtures for the tests of the in-process panel (header only: the
// benchmarks and the demo use the support library without GoogleTest).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "protocol/command_set.h"
#include "tests/support/byte_text.h"
#include "tests/support/panel_starts.h"
#include "tools/panel-driver/session_environment.h"
#include "tools/panel-driver/unit_peer.h"
#include "tools/panel-driver/waiting.h"
#include "ui/main/main_window.h"
#include "ui/settings/network_settings.h"
#include "ui/settings/output_video_settings.h"
#include "ui/settings/vga_image_adjustments.h"

// Every case ends the panel it started, so cases run one after another in
// one process as well as one per process.
class PanelTest : public testing::Test {
 protected:
  void SetUp() override { drainRigLines(); }
  void TearDown() override { endPanel(); }
};

// The whole program started and connected to the test port; peer plays the
// unit. Every check of the line waits for the bytes themselves, never for a
// quiet spell.
class ConnectedPanelTest : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    ASSERT_TRUE(peer.isOpen()) << "error " << GetLastError();
    ASSERT_NE(startPanel(), nullptr);
    ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  }

  // A main-window button clicked, or a menu item chosen, by its id.
  void click(int id) { SendMessageW(GetDlgItem(mainWindowState.mainWindow, id), BM_CLICK, 0, 0); }
  void choose(int id) { SendMessageW(mainWindowState.mainWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

  // Chooses a "&Settings" menu item; returns the window it opened.
  HWND openThroughMenu(int menuId) {
    choose(menuId);
    pumpMessages();
    switch (menuId) {
      case 3001:
        return outputVideoSettingsWindow();
      case 4002:
        return vgaImageAdjustmentsWindow();
      case 3003:
        return networkSettingsWindow();
      default:
        return nullptr;
    }
  }

  // Sends the unit's reply text and waits until the program has echoed it.
  void reply(const std::string& text) {
    ASSERT_TRUE(peer.write(text));
    std::wstring echo = L"Rx>" + std::wstring(text.begin(), text.end());
    ASSERT_TRUE(waitFor([&] { return paneText().find(echo) != std::wstring::npos; })) << text;
  }

  // The unit receives exactly these bytes next.
  void expectSent(const std::string& bytes) {
    std::string got = peer.readAtLeast(bytes.size());
    EXPECT_EQ(printable(got), printable(bytes));
  }

  // The unit has received nothing since the last check: the program writes in
  // order on this thread, so a command sent now is the next thing it gets
  // ("<SW>", which leaves its own Tx line in the pane).
  void expectNothingSent() {
    readVersions();
    expectSent("<SW>");
  }

  UnitPeer peer{testPeerName()};
};
