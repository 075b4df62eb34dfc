// "VGA Image Adjustments": the seven buttons of the pad and what each click
// sends to the unit.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "protocol/control_state.h"
#include "tools/harness/controls_and_menus.h"
#include "tools/harness/panel_fixtures.h"
#include "tools/harness/panel_in_process.h"
#include "tools/harness/unit_traffic.h"
#include "ui/ids.h"
#include "ui/main/main_window.h"
#include "ui/settings/network_settings.h"
#include "ui/settings/output_video_settings.h"
#include "ui/settings/vga_image_adjustments.h"

namespace {
class VgaAdjustmentsTest : public ConnectedPanelTest {
 protected:
  void SetUp() override {
    ConnectedPanelTest::SetUp();
    if (HasFatalFailure()) return;
    window_ = openThroughMenu(IDM_VGA_IMAGE_ADJUSTMENTS);
    ASSERT_TRUE(IsWindow(window_));
  }
  HWND window_ = nullptr;
};

struct PadCase {
  const wchar_t* text;
  int id;
  RECT rect;
  const char* command;
  int n;
};

// Left and Up step forwards, Right and Down backwards.
const PadCase kPad[] = {
    {L"Up", IDC_VGA_UP, {89, 8, 149, 81}, "VStart+*", 9},
    {L"Down", IDC_VGA_DOWN, {89, 157, 149, 230}, "VStart-*", 9},
    {L"Left", IDC_VGA_LEFT, {8, 89, 81, 149}, "HStart+*", 9},
    {L"Right", IDC_VGA_RIGHT, {157, 89, 230, 149}, "HStart-*", 9},
    {L"Auto", IDC_VGA_AUTO, {89, 89, 149, 149}, "Auto Adjust*", 13},
    {L"Grow", IDC_VGA_GROW, {238, 8, 298, 115}, "HTotal+*", 9},
    {L"Shrink", IDC_VGA_SHRINK, {238, 123, 298, 230}, "HTotal-*", 9},
};

std::wstring echoOf(const char* command) {
  return L"Tx> " + std::wstring(command, command + strlen(command)) + L"\r\n";
}
}  // namespace

TEST_F(VgaAdjustmentsTest, ThePadsButtonsStandWhereTheyBelongWithTheirIdsStylesAndFont) {
  EXPECT_EQ(received(), "") << "opening asks nothing";
  std::vector<HWND> children = childrenInCreationOrder(window_);
  ASSERT_EQ(children.size(), std::size(kPad));
  for (std::size_t i = 0; i < children.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "button " << i);
    ControlFacts facts = controlFacts(children[i]);
    EXPECT_EQ(facts.className, L"Button");
    EXPECT_EQ(facts.text, kPad[i].text);
    EXPECT_EQ(facts.id, kPad[i].id);
    EXPECT_EQ(facts.style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON));
    EXPECT_EQ(facts.font, mainWindowState.uiFont);
    EXPECT_TRUE(EqualRect(&facts.rect, &kPad[i].rect))
        << facts.rect.left << "," << facts.rect.top << "," << facts.rect.right << "," << facts.rect.bottom;
  }
}

TEST_F(VgaAdjustmentsTest, EachClickSendsItsCommandAndEchoesIt) {
  for (const PadCase& c : kPad) {
    SCOPED_TRACE(testing::Message() << c.id);
    std::wstring before = paneText();
    clickButton(GetDlgItem(window_, c.id));
    EXPECT_EQ(received(), onWire(c.command, c.n));
    EXPECT_EQ(paneText().substr(before.size()), echoOf(c.command));
  }
}

TEST_F(VgaAdjustmentsTest, TenClicksOnGrowSendTenCommands) {
  std::wstring before = paneText();
  for (int i = 0; i < 10; ++i) clickButton(GetDlgItem(window_, IDC_VGA_GROW));
  std::string expected;
  std::wstring echoes;
  for (int i = 0; i < 10; ++i) {
    expected += onWire("HTotal+*", 9);
    echoes += echoOf("HTotal+*");
  }
  EXPECT_EQ(received(), expected);
  EXPECT_EQ(paneText().substr(before.size()), echoes);
}

// A window keeps working after a newer one of its kind has come and gone.
TEST_F(VgaAdjustmentsTest, AnOlderWindowStillSendsAfterTheNewestIsClosed) {
  HWND newer = openThroughMenu(IDM_VGA_IMAGE_ADJUSTMENTS);
  ASSERT_NE(newer, window_);
  SendMessageW(newer, WM_CLOSE, 0, 0);
  EXPECT_EQ(vgaImageAdjustmentsWindow(), nullptr);
  clickButton(GetDlgItem(window_, IDC_VGA_AUTO));
  EXPECT_EQ(received(), onWire("Auto Adjust*", 13));
}
