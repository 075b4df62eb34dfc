// What the three settings windows share: their frame, place and background,
// the slots that name them, closing and reopening, and ids nobody handles;
// and the VGA pad, a window of no values of its own.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/command_stamps.h"
#include "tests/support/controls_and_menus.h"
#include "tests/support/panel_fixtures.h"
#include "tests/support/screen_reading.h"
#include "ui/ids.h"
#include "ui/main/startup.h"

namespace {
struct KindCase {
  int menuId;
  const wchar_t* title;
  int width, height;
  POINT blank;        // a client pixel no control or text covers
  const char* queries;   // what opening sends, as the unit receives it
};

const KindCase kKinds[] = {
    {IDM_OUTPUT_VIDEO_SETTINGS, L"Output Video Settings", 277, 194, {270, 150},
     "R OUTPUT!Brightness*Contrast*\0\0"},
    {IDM_VGA_IMAGE_ADJUSTMENTS, L"VGA Image Adjustments", 306, 238, {4, 4}, ""},
    {IDM_NETWORK_SETTINGS, L"Network Settings", 401, 224, {397, 220}, "<SIPR><SPORT><SUBR><GAR>"},
};

std::string queriesOf(const KindCase& kind) {
  // "Contrast*" carries two zero bytes on the serial link.
  return kind.menuId == IDM_OUTPUT_VIDEO_SETTINGS ? std::string(kind.queries, 31) : std::string(kind.queries);
}

class SettingsFrameTest : public ConnectedPanelTest {
 protected:
  // Opens a window of the kind and checks what its opening sent.
  HWND open(const KindCase& kind) {
    HWND window = openThroughMenu(kind.menuId);
    if (queriesOf(kind).empty()) {
      expectNothingSent();
    } else {
      expectSent(queriesOf(kind));
    }
    return window;
  }
};
}  // namespace

TEST_F(SettingsFrameTest, EachKindOpensCentredWithItsTitleSizeAndFrame) {
  for (const KindCase& kind : kKinds) {
    SCOPED_TRACE(testing::Message() << kind.menuId);
    HWND window = open(kind);
    ASSERT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(windowText(window), kind.title);
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    EXPECT_STREQ(className, L"zaro_subwin");
    SIZE client = clientSize(window);
    EXPECT_EQ(client.cx, kind.width);
    EXPECT_EQ(client.cy, kind.height);

    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN), WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD), 0);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    EXPECT_EQ(GetWindow(window, GW_OWNER), mainWindowState.mainWindow);
    EXPECT_EQ(GetMenu(window), nullptr);

    RECT outer{};
    GetWindowRect(window, &outer);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    int outerWidth = outer.right - outer.left;
    int outerHeight = outer.bottom - outer.top;
    EXPECT_EQ(outer.left, monitor.rcMonitor.right / 2 - outerWidth / 2);
    EXPECT_EQ(outer.top, monitor.rcMonitor.bottom / 2 - outerHeight / 2);

    EXPECT_EQ(GetClassLongPtrW(window, GCLP_HBRBACKGROUND), COLOR_MENU + 1);
    EXPECT_EQ(clientPixel(window, kind.blank.x, kind.blank.y), GetSysColor(COLOR_MENU));
  }
}

// Opening again builds a new window in the same place; only the newest shows
// the current values, and closing it clears everything that named it.
TEST_F(SettingsFrameTest, ASecondWindowOfAKindTakesTheSlotAndClosingClearsIt) {
  struct LineCase {
    const KindCase& kind;
    POINT line;
    const wchar_t* text;
  };
  const LineCase cases[] = {
      {kKinds[0], {8, 8}, L"Current resolution: 640x480@60Hz"},
      {kKinds[2], {8, 8}, L"Current IP address: 0.0.0.0 : 0"},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.kind.menuId);
    HWND first = open(c.kind);
    HWND second = open(c.kind);
    ASSERT_TRUE(IsWindow(first));
    ASSERT_TRUE(IsWindow(second));
    ASSERT_NE(first, second);
    RECT a{}, b{};
    GetWindowRect(first, &a);
    GetWindowRect(second, &b);
    EXPECT_TRUE(EqualRect(&a, &b));

    // Bring the older one up so its own pixels are on screen.
    SetWindowPos(first, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(first, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(showsOnlyBackground(first, RECT{8, 8, 250, 24}));
    SetWindowPos(second, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(second, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(showsLine(second, c.line.x, c.line.y, c.text));

    // The older window's end leaves the newest one's fields alone.
    SendMessageW(first, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(first));
    if (c.kind.menuId == IDM_OUTPUT_VIDEO_SETTINGS) {
      EXPECT_EQ(outputVideoSettingsWindow(), second);
      EXPECT_EQ(GetParent(brightnessTrackbar()), second);
    } else {
      EXPECT_EQ(networkSettingsWindow(), second);
      EXPECT_EQ(GetParent(portEdit()), second);
    }
    SendMessageW(second, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(second));
    expectNothingSent();   // closing sends nothing
  }
  EXPECT_EQ(outputVideoSettingsWindow(), nullptr);
  EXPECT_EQ(resolutionCombo(), nullptr);
  EXPECT_EQ(brightnessTrackbar(), nullptr);
  EXPECT_EQ(contrastTrackbar(), nullptr);
  EXPECT_EQ(networkSettingsWindow(), nullptr);
  EXPECT_EQ(portEdit(), nullptr);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(ipAddressEdit(i), nullptr);
    EXPECT_EQ(subnetMaskEdit(i), nullptr);
    EXPECT_EQ(gatewayEdit(i), nullptr);
  }
  EXPECT_TRUE(IsWindow(mainWindowState.mainWindow)) << "the main window is not told";
}

// A settings window belongs to the main window: minimised from its caption or
// system menu, the main window takes its settings windows along, and brings
// them back when it is restored.
TEST_F(SettingsFrameTest, WindowsGoAndComeBackWithTheMainWindow) {
  HWND main = mainWindowState.mainWindow;
  for (const KindCase& kind : kKinds) {
    SCOPED_TRACE(testing::Message() << kind.menuId);
    HWND window = open(kind);
    EXPECT_EQ(GetWindow(window, GW_OWNER), main);
    SetActiveWindow(main);
    SendMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(IsIconic(main));
    EXPECT_FALSE(IsWindowVisible(window));
    SendMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(main));
    EXPECT_TRUE(IsWindowVisible(window));
    SendMessageW(window, WM_CLOSE, 0, 0);
  }
}

// A shortcut's "Minimized" or "Maximized" is meant for the main window: a
// settings window opens shown normally and active whatever the program was
// started with.
class SettingsWindowShow : public PanelTest {};

TEST_F(SettingsWindowShow, OpensNormalAndActiveWhateverTheProgramWasStartedWith) {
  for (int startedWith : {SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, SW_SHOWMINNOACTIVE}) {
    SCOPED_TRACE(testing::Message() << "started with " << startedWith);
    drainRigLines();
    UnitPeer peer(testPeerName());
    startControlPanel(GetModuleHandleW(nullptr), startedWith);
    ASSERT_NE(finishPanelStart(), nullptr);
    ShowWindow(mainWindowState.mainWindow, SW_RESTORE);
    ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
    SendMessageW(mainWindowState.mainWindow, WM_COMMAND, MAKEWPARAM(IDM_VGA_IMAGE_ADJUSTMENTS, 0), 0);
    HWND window = vgaImageAdjustmentsWindow();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsIconic(window));
    EXPECT_FALSE(IsZoomed(window));
    EXPECT_EQ(GetActiveWindow(), window);
    SIZE client = clientSize(window);
    EXPECT_EQ(client.cx, 306);
    EXPECT_EQ(client.cy, 238);
    endPanel();
  }
}

namespace {
// Brings a window to the top and paints it, so its own pixels are on screen.
void showOnTop(HWND window) {
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
}  // namespace

// A new connection with the two windows of values open: after the opening
// queries each asks the new unit again what it asks when it opens, with the
// same pauses, and shows that unit's answers; no value of the first unit
// stays. Closed windows ask nothing.
TEST_F(SettingsFrameTest, OnANewConnectionEachOpenWindowAsksTheNewUnitAgain) {
  HWND video = open(kKinds[0]);
  HWND vga = open(kKinds[1]);
  HWND network = open(kKinds[2]);
  reply(">Output Resolution: 1280x720@60Hz\r\n>Brightness Value: 30\r\n>Contrast Value: 70\r\n"
        ">SIPR: 10.1.2.3\r\n>SPORT: 5000\r\n>SUBR: 255.255.0.0\r\n>GAR: 10.1.0.1\r\n");
  showOnTop(network);
  EXPECT_TRUE(showsLine(network, 8, 32, L"Current subnet mask: 255.255.0.0"));

  // The second unit is on the same line.
  stampCommandsOnTheirWay();
  choosePortItem(testPortName());
  expectSent(kOpeningQueries + queriesOf(kKinds[0]) + queriesOf(kKinds[2]));
  const std::vector<double>& at = commandStamps();
  ASSERT_EQ(at.size(), 12u);
  // Pauses before each but the first of the opening queries, before each
  // window's queries and between the network queries; none inside the video
  // window's three.
  for (std::size_t i : {1u, 2u, 3u, 4u, 5u, 8u, 9u, 10u, 11u}) EXPECT_GE(at[i] - at[i - 1], 95.0) << i;

  showOnTop(network);
  EXPECT_TRUE(showsLine(network, 8, 8, L"Current IP address: 0.0.0.0 : 0"));
  reply(">SIPR: 192.168.7.7\r\n>Output Resolution: 1920x1080@60Hz\r\n>Brightness Value: 55\r\n"
        ">Contrast Value: 45\r\n");
  showOnTop(network);
  EXPECT_TRUE(showsLine(network, 8, 8, L"Current IP address: 192.168.7.7 : 0"));
  EXPECT_TRUE(showsLine(network, 8, 32, L"Current subnet mask: 0.0.0.0"));
  EXPECT_TRUE(showsLine(network, 8, 56, L"Current gateway address: 0.0.0.0"));
  showOnTop(video);
  EXPECT_TRUE(showsLine(video, 8, 8, L"Current resolution: 1920x1080@60Hz"));
  EXPECT_EQ(SendMessageW(resolutionCombo(), CB_GETCURSEL, 0, 0), 14);
  EXPECT_EQ(SendMessageW(brightnessTrackbar(), TBM_GETPOS, 0, 0), 55);
  EXPECT_EQ(SendMessageW(contrastTrackbar(), TBM_GETPOS, 0, 0), 45);

  SendMessageW(video, WM_CLOSE, 0, 0);
  SendMessageW(vga, WM_CLOSE, 0, 0);
  SendMessageW(network, WM_CLOSE, 0, 0);
  ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  expectNothingSent();
}

// Notifications of the list and the edits, and ids of no control, do nothing.
TEST_F(SettingsFrameTest, CommandsOfNoActionAreAnsweredWithZeroAndSendNothing) {
  struct CommandCase {
    int menuId;
    int id;
    int code;
  };
  const CommandCase cases[] = {
      {IDM_OUTPUT_VIDEO_SETTINGS, IDC_RESOLUTION_COMBO, CBN_SELCHANGE},
      {IDM_OUTPUT_VIDEO_SETTINGS, IDC_BRIGHTNESS_TRACKBAR, 0},
      {IDM_OUTPUT_VIDEO_SETTINGS, 1234, 0},
      {IDM_VGA_IMAGE_ADJUSTMENTS, 1022 - 1, 0},
      {IDM_VGA_IMAGE_ADJUSTMENTS, IDC_SET_IP_ADDRESS, BN_CLICKED},
      {IDM_NETWORK_SETTINGS, IDC_PORT_EDIT, EN_CHANGE},
      {IDM_NETWORK_SETTINGS, IDC_SET_RESOLUTION, BN_CLICKED},
  };
  for (const CommandCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.menuId << " id " << c.id);
    const KindCase& kind = *std::find_if(std::begin(kKinds), std::end(kKinds),
                                         [&](const KindCase& k) { return k.menuId == c.menuId; });
    HWND window = open(kind);
    EXPECT_EQ(SendMessageW(window, WM_COMMAND, MAKEWPARAM(c.id, c.code), 0), 0);
    expectNothingSent();
  }
}

TEST_F(SettingsFrameTest, AVgaWindowPaintsOnlyItsBackground) {
  HWND window = openThroughMenu(IDM_VGA_IMAGE_ADJUSTMENTS);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  // The corners and gaps of the pad, where a text would have to stand.
  EXPECT_TRUE(showsOnlyBackground(window, RECT{0, 0, 88, 88}));
  EXPECT_TRUE(showsOnlyBackground(window, RECT{150, 0, 237, 88}));
  EXPECT_TRUE(showsOnlyBackground(window, RECT{0, 150, 88, 238}));
}

// "VGA Image Adjustments": the seven buttons of the pad and what each click
// sends to the unit.
namespace {
class VgaAdjustmentsTest : public ConnectedPanelTest {
 protected:
  void SetUp() override {
    ConnectedPanelTest::SetUp();
    if (HasFatalFailure()) return;
    window_ = openThroughMenu(IDM_VGA_IMAGE_ADJUSTMENTS);
    ASSERT_TRUE(IsWindow(window_));
    expectNothingSent();   // the pad asks the unit nothing
  }
  HWND window_ = nullptr;
};

// Left and Up step forwards, Right and Down backwards. Opening asked nothing.
struct PadCase {
  int id;
  const char* command;
  int n;
};
const PadCase kPad[] = {
    {IDC_VGA_UP, "VStart+*", 9},    {IDC_VGA_DOWN, "VStart-*", 9},    {IDC_VGA_LEFT, "HStart+*", 9},
    {IDC_VGA_RIGHT, "HStart-*", 9}, {IDC_VGA_AUTO, "Auto Adjust*", 13}, {IDC_VGA_GROW, "HTotal+*", 9},
    {IDC_VGA_SHRINK, "HTotal-*", 9},
};

std::wstring echoOf(const char* command) {
  return L"Tx> " + std::wstring(command, command + strlen(command)) + L"\r\n";
}
}  // namespace

// Every click sends one command at once, ten clicks ten commands.
TEST_F(VgaAdjustmentsTest, EachClickSendsItsCommandAndEchoesIt) {
  for (const PadCase& c : kPad) {
    SCOPED_TRACE(testing::Message() << c.id);
    std::wstring before = paneText();
    clickButton(GetDlgItem(window_, c.id));
    expectSent(onWire(c.command, c.n));
    EXPECT_EQ(paneText().substr(before.size()), echoOf(c.command));
  }
  std::wstring before = paneText();
  std::string expected;
  std::wstring echoes;
  for (int i = 0; i < 10; ++i) {
    clickButton(GetDlgItem(window_, IDC_VGA_GROW));
    expected += onWire("HTotal+*", 9);
    echoes += echoOf("HTotal+*");
  }
  expectSent(expected);
  EXPECT_EQ(paneText().substr(before.size()), echoes);
}
