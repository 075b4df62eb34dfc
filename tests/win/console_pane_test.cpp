// The output pane and the reply parser's effects on real controls: an Edit
// control, the program's own menu resource, a trackbar and a combo box.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "protocol/control_state.h"
#include "tools/harness/controls_and_menus.h"
#include "tools/harness/import_patch.h"
#include "tools/harness/panel_fixtures.h"
#include "tools/harness/panel_in_process.h"
#include "ui/ids.h"
#include "ui/main/console_pane.h"
#include "ui/main/control_enabling.h"
#include "ui/main/main_window.h"
#include "ui/main/received_text.h"
#include "ui/settings/network_settings.h"
#include "ui/settings/output_video_settings.h"

namespace {
class ConsolePaneTest : public PanelTest {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    host_ = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 600, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    mainWindowState.consoleEdit =
        CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY,
                        8, 8, 535, 200, host_, reinterpret_cast<HMENU>(IDC_CONSOLE), GetModuleHandleW(nullptr), nullptr);
    // The pane keeps every line: its limit is lifted when it is made.
    SendMessageW(mainWindowState.consoleEdit, EM_SETLIMITTEXT, 0, 0);
  }
  void TearDown() override {
    DestroyWindow(host_);
    PanelTest::TearDown();
  }

  HWND host_ = nullptr;
};
}  // namespace

struct PrefixCase {
  int kind;
  const wchar_t* expected;
};

TEST_F(ConsolePaneTest, EachKindHasItsPrefix) {
  const PrefixCase cases[] = {{0, L"Rx>ABC\r\n"}, {1, L"Tx> ABC\r\n"}, {2, L"System> ABC\r\n"}, {5, L"System> ABC\r\n"}};
  std::wstring expected;
  for (const PrefixCase& c : cases) {
    ConsolePane::appendLine(L"ABC\r\n", static_cast<ConsoleLineKind>(c.kind));
    expected += c.expected;
    EXPECT_EQ(paneText(), expected);
  }
}

TEST_F(ConsolePaneTest, ALongLineIsCutTo2047Units) {
  std::wstring text(3000, L'x');
  ConsolePane::appendLine(text.c_str(), ConsoleLineKind::Tx);
  std::wstring pane = paneText();
  ASSERT_EQ(pane.size(), 2047u);
  EXPECT_EQ(pane.substr(0, 4), L"Tx> ");
  EXPECT_EQ(pane.substr(4), std::wstring(2043, L'x'));
}

TEST_F(ConsolePaneTest, LinesGoLastEvenWhenTheUserHasSelectedText) {
  ConsolePane::appendLine(L"first\r\n", ConsoleLineKind::Tx);
  ConsolePane::appendLine(L"second\r\n", ConsoleLineKind::Tx);
  SendMessageW(mainWindowState.consoleEdit, EM_SETSEL, 2, 5);
  ConsolePane::appendLine(L"third\r\n", ConsoleLineKind::Rx);
  EXPECT_EQ(paneText(), L"Tx> first\r\nTx> second\r\nRx>third\r\n");
}

TEST_F(ConsolePaneTest, ClearEmptiesAndTheNextLineStandsAlone) {
  ConsolePane::clear();
  EXPECT_EQ(paneText(), L"");
  ConsolePane::appendLine(L"old\r\n", ConsoleLineKind::Tx);
  ConsolePane::clear();
  ConsolePane::appendLine(L"new\r\n", ConsoleLineKind::System);
  EXPECT_EQ(paneText(), L"System> new\r\n");
}

// Past the Edit control's default limit of 30,000 characters every line
// still lands.
TEST_F(ConsolePaneTest, KeepsMoreThan100000Characters) {
  std::wstring line = std::wstring(998, L'a') + L"\r\n";
  for (int i = 0; i < 110; ++i) ConsolePane::appendLine(line.c_str(), ConsoleLineKind::Rx);
  std::wstring pane = paneText();
  EXPECT_EQ(pane.size(), 110u * (3 + line.size()));
  EXPECT_EQ(pane.substr(pane.size() - line.size() - 3), L"Rx>" + line);
}

TEST_F(ConsolePaneTest, ParsedTextIsEchoedUnchangedAndCountZeroDoesNothing) {
  mainWindowState.mainWindow = host_;
  EXPECT_EQ(parseReceivedText(L">SOURCE HDMI1\r\nno end", 0), 1);
  EXPECT_EQ(paneText(), L"");
  EXPECT_EQ(controlState.videoInput, -1);
  EXPECT_EQ(parseReceivedText(L">SOURCE HDMI1\r\nno end", 22), 0);
  EXPECT_EQ(paneText(), L"Rx>>SOURCE HDMI1\r\nno end");
  EXPECT_EQ(controlState.videoInput, 4);
}

namespace {
class ParserControlsTest : public ConsolePaneTest {
 protected:
  void SetUp() override {
    ConsolePaneTest::SetUp();
    mainWindowState.mainWindow = host_;
    mainWindowState.mainMenu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU));
    ASSERT_NE(mainWindowState.mainMenu, nullptr);
    SetMenu(host_, mainWindowState.mainMenu);
  }
};

// The real settings windows, opened as the menu opens them (their queries go
// nowhere: no link is routed in this program).
void prepareSettingsWindows() {
  mainWindowState.instanceHandle = GetModuleHandleW(nullptr);
  registerSettingsWindowClass();
}
}  // namespace

TEST_F(ParserControlsTest, BuzzerRepliesRenameAndCheckMenuItem3006) {
  struct Step {
    const wchar_t* reply;
    const wchar_t* text;
    bool checked;
  };
  const Step steps[] = {{L">Bell On\r\n", L"Disable &Buzzer", true},
                        {L">Bell Status: OFF\r\n", L"Enable &Buzzer", false},
                        {L">Bell Status: ON\r\n", L"Disable &Buzzer", true},
                        {L">Bell ON\r\n", L"Enable &Buzzer", false}};
  for (const Step& step : steps) {
    parseReceivedText(step.reply, static_cast<unsigned>(wcslen(step.reply)));
    EXPECT_EQ(menuItemOf(mainWindowState.mainMenu, IDM_BUZZER).text, step.text) << step.reply;
    UINT state = menuItemOf(mainWindowState.mainMenu, IDM_BUZZER).state;
    EXPECT_EQ((state & MFS_CHECKED) != 0, step.checked) << step.reply;
    // The item starts grayed; an "off" reply writes the whole state anew.
    if (!step.checked) {
      EXPECT_EQ(state, 0u);
    }
  }
}

BOOL WINAPI failToReadItem(HMENU, UINT, BOOL, LPMENUITEMINFOW) {
  SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
  return FALSE;
}

// A state that cannot be read is not rebuilt from nothing: the grayed item
// stays grayed and unchecked.
TEST_F(ParserControlsTest, ABuzzerItemWhoseStateCannotBeReadKeepsIt) {
  const UINT before = menuItemOf(mainWindowState.mainMenu, IDM_BUZZER).state;
  ASSERT_NE(before & MFS_GRAYED, 0u);
  const wchar_t reply[] = L">Bell Status: ON\r\n";
  {
    ImportPatch read("user32.dll", "GetMenuItemInfoW", reinterpret_cast<const void*>(failToReadItem));
    ASSERT_TRUE(read.active());
    parseReceivedText(reply, static_cast<unsigned>(wcslen(reply)));
  }
  EXPECT_EQ(menuItemOf(mainWindowState.mainMenu, IDM_BUZZER).text, L"Disable &Buzzer");
  EXPECT_EQ(menuItemOf(mainWindowState.mainMenu, IDM_BUZZER).state, before);
}

TEST_F(ParserControlsTest, PendingQueriesMoveTheRealTrackbarsOnce) {
  prepareSettingsWindows();
  ASSERT_EQ(openOutputVideoSettings(), 0);   // asks for brightness and contrast
  ASSERT_TRUE(controlState.brightnessQueryPending);
  ASSERT_TRUE(controlState.contrastQueryPending);
  const wchar_t* reply = L">Brightness Value: 42\r\n>Contrast Value: 250\r\n>Brightness Value: 7\r\n";
  parseReceivedText(reply, static_cast<unsigned>(wcslen(reply)));
  EXPECT_EQ(SendMessageW(brightnessTrackbar(), TBM_GETPOS, 0, 0), 42);
  // The control keeps its own range of 0..100.
  EXPECT_EQ(SendMessageW(contrastTrackbar(), TBM_GETPOS, 0, 0), 100);
  parseReceivedText(L">Brightness Value: 9\r\n", 22);
  EXPECT_EQ(SendMessageW(brightnessTrackbar(), TBM_GETPOS, 0, 0), 42);
}

TEST_F(ParserControlsTest, OutputResolutionSelectsTheComboItem) {
  prepareSettingsWindows();
  ASSERT_EQ(openOutputVideoSettings(), 0);
  ASSERT_EQ(SendMessageW(resolutionCombo(), CB_GETCURSEL, 0, 0), 0);
  parseReceivedText(L">OUTPUT 1920x1200@60Hz\r\n", 24);
  EXPECT_EQ(SendMessageW(resolutionCombo(), CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(controlState.outputResolution, 15);
  parseReceivedText(L">Output Resolution: 1440x900@60Hz\r\n", 35);
  EXPECT_EQ(SendMessageW(resolutionCombo(), CB_GETCURSEL, 0, 0), 10);
  EXPECT_EQ(controlState.outputResolution, 10);
}

// With no settings window, or a closed one, the repaint must not reach any
// other window: it is skipped and the values are stored all the same.
TEST_F(ParserControlsTest, RepliesForClosedSettingsWindowsStoreValuesWithoutRepainting) {
  prepareSettingsWindows();
  ASSERT_EQ(openNetworkSettings(), 0);
  DestroyWindow(networkSettingsWindow());
  ASSERT_EQ(networkSettingsWindow(), nullptr);
  ASSERT_EQ(outputVideoSettingsWindow(), nullptr);
  ValidateRect(host_, nullptr);
  const wchar_t* reply = L">SIPR: 10.0.0.2\r\n>OUTPUT 800x600@60Hz\r\n";
  EXPECT_EQ(parseReceivedText(reply, static_cast<unsigned>(wcslen(reply))), 0);
  EXPECT_EQ(controlState.ipAddress[0], 10);
  EXPECT_EQ(controlState.ipAddress[3], 2);
  EXPECT_EQ(controlState.outputResolution, 1);
  RECT dirty;
  EXPECT_FALSE(GetUpdateRect(host_, &dirty, FALSE));
}

TEST_F(ParserControlsTest, TheEnableSetGreysAndEnablesTheSevenMenuItems) {
  const UINT items[] = {IDM_OUTPUT_VIDEO_SETTINGS, IDM_VGA_IMAGE_ADJUSTMENTS, IDM_NETWORK_SETTINGS, IDM_RESTORE_DEFAULTS,
                        IDM_COPY_EDID, IDM_BUZZER};
  // The Help item is added at run time by the main window; add it the same way.
  HMENU help = CreatePopupMenu();
  AppendMenuW(help, MF_STRING | MF_GRAYED, IDM_FIRMWARE_VERSIONS, L"VRX-2600 &Firmware");
  AppendMenuW(help, MF_STRING, IDM_ABOUT, L"&About...");
  AppendMenuW(mainWindowState.mainMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
  for (bool enabled : {true, false, true}) {
    setDeviceControlsEnabled(enabled);
    for (UINT id : items) EXPECT_EQ((menuItemOf(mainWindowState.mainMenu, id).state & MFS_GRAYED) == 0, enabled) << id;
    EXPECT_EQ((menuItemOf(mainWindowState.mainMenu, IDM_FIRMWARE_VERSIONS).state & MFS_GRAYED) == 0, enabled);
    EXPECT_EQ(menuItemOf(mainWindowState.mainMenu, IDM_EXIT).state & MFS_GRAYED, 0u);
    EXPECT_EQ(menuItemOf(mainWindowState.mainMenu, IDM_ABOUT).state & MFS_GRAYED, 0u);
  }
}

TEST(HighlightRects, FramesSitOnePixelOutsideTheirButtons) {
  struct Case {
    bool audio;
    int index;
    RECT expected;
  };
  const Case cases[] = {{true, 0, {7, 123, 39, 163}},   {true, 8, {311, 123, 343, 163}},
                        {true, 9, {349, 123, 406, 163}}, {false, 0, {7, 27, 82, 59}},
                        {false, 1, {7, 65, 82, 97}},     {false, 6, {250, 27, 325, 59}},
                        {false, 7, {331, 27, 406, 97}},  {false, 8, {250, 65, 325, 97}}};
  for (const Case& c : cases) {
    RECT r = c.audio ? audioHighlightRect(c.index) : videoHighlightRect(c.index);
    EXPECT_TRUE(EqualRect(&r, &c.expected)) << (c.audio ? "audio " : "video ") << c.index << ": " << r.left << ","
                                            << r.top << "," << r.right << "," << r.bottom;
  }
}
