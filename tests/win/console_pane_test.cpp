// The output pane and the reply parser's effects on real controls: an Edit
// control, the program's own menu resource, a trackbar and a combo box.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/support/controls_and_menus.h"
#include "tests/support/import_patch.h"
#include "tests/support/panel_fixtures.h"
#include "ui/ids.h"
#include "ui/main/console_pane.h"
#include "ui/main/received_text.h"

namespace {
class ConsolePaneTest : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
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

// Each kind of line has its prefix; a line longer than 2047 units, prefix
// included, is cut, and keeps its line end if it had one, so the next line
// does not run on behind it.
TEST_F(ConsolePaneTest, EachKindHasItsPrefix) {
  const std::pair<ConsoleLineKind, const wchar_t*> cases[] = {{ConsoleLineKind::Rx, L"Rx>ABC\r\n"},
                                                              {ConsoleLineKind::Tx, L"Tx> ABC\r\n"},
                                                              {ConsoleLineKind::System, L"System> ABC\r\n"}};
  std::wstring expected;
  for (const auto& [kind, line] : cases) {
    ConsolePane::appendLine(L"ABC\r\n", kind);
    expected += line;
    EXPECT_TRUE(waitFor([&] { return paneText() == expected; })) << paneText();
  }
  ConsolePane::appendLine(std::wstring(3000, L'x').c_str(), ConsoleLineKind::Tx);
  expected += L"Tx> " + std::wstring(2043, L'x');
  EXPECT_EQ(paneText(), expected);
  ConsolePane::appendLine((L"\r\n" + std::wstring(4998, L'y') + L"\r\n").c_str(), ConsoleLineKind::Tx);
  ConsolePane::appendLine(L"next\r\n", ConsoleLineKind::Tx);
  EXPECT_EQ(paneText(), expected + L"Tx> \r\n" + std::wstring(2039, L'y') + L"\r\nTx> next\r\n");
}

TEST_F(ConsolePaneTest, LinesGoLastEvenWhenTheUserHasSelectedText) {
  ConsolePane::appendLine(L"first\r\n", ConsoleLineKind::Tx);
  ConsolePane::appendLine(L"second\r\n", ConsoleLineKind::Tx);
  SendMessageW(mainWindowState.consoleEdit, EM_SETSEL, 2, 5);
  ConsolePane::appendLine(L"third\r\n", ConsoleLineKind::Rx);
  EXPECT_TRUE(waitFor([] { return paneText() == L"Tx> first\r\nTx> second\r\nRx>third\r\n"; })) << paneText();
}

// The state changes as the text arrives; the echo follows by itself, with no
// later line to push it in.
TEST_F(ConsolePaneTest, ParsedTextIsEchoedUnchangedAndCountZeroDoesNothing) {
  mainWindowState.mainWindow = host_;
  EXPECT_EQ(parseReceivedText(L">SOURCE HDMI1\r\nno end", 0), 1);
  EXPECT_EQ(controlState.videoInput, -1);
  EXPECT_EQ(parseReceivedText(L">SOURCE HDMI1\r\nno end", 22), 0);
  EXPECT_EQ(controlState.videoInput, 4);
  EXPECT_TRUE(waitFor([] { return paneText() == L"Rx>>SOURCE HDMI1\r\nno end"; })) << paneText();
}

// Received text is gathered, but a command or event line never overtakes
// text received before it, and every delivery keeps its own line ends (or
// their lack) exactly.
TEST_F(ConsolePaneTest, GatheredTextKeepsItsPlaceBeforeLaterLines) {
  ConsolePane::appendLine(L"one\r\ntw", ConsoleLineKind::Rx);
  ConsolePane::appendLine(L"o\r\n", ConsoleLineKind::Rx);
  ConsolePane::appendLine(L"B+ OUTPUT%\r\n", ConsoleLineKind::Tx);
  ConsolePane::appendLine(L"three", ConsoleLineKind::Rx);
  ConsolePane::appendLine(L"Opened COM7\r\n", ConsoleLineKind::System);
  const std::wstring before = L"Rx>one\r\ntwRx>o\r\nTx> B+ OUTPUT%\r\nRx>threeSystem> Opened COM7\r\n";
  EXPECT_EQ(paneText(), before);
  ConsolePane::appendLine(L"four\r\n", ConsoleLineKind::Rx);
  EXPECT_TRUE(waitFor([&] { return paneText() == before + L"Rx>four\r\n"; })) << paneText();
}

// "Clear" also drops received text that has not been shown yet.
TEST_F(ConsolePaneTest, ClearDropsGatheredText) {
  ConsolePane::appendLine(L"shown\r\n", ConsoleLineKind::Tx);
  ConsolePane::appendLine(L"waiting\r\n", ConsoleLineKind::Rx);
  ConsolePane::clear();
  EXPECT_EQ(paneText(), L"");
  ConsolePane::appendLine(L"after\r\n", ConsoleLineKind::Tx);
  EXPECT_EQ(paneText(), L"Tx> after\r\n");
}

struct ScrollBackCase {
  const char* name;
  ConsoleLineKind kind;
  std::size_t textUnits;   // of each line, its line end included
  bool lineEnds;           // false: one endless line, as noise at a wrong baud rate is
};
void PrintTo(const ScrollBackCase& value, std::ostream* out) { *out << value.name; }

class ConsolePaneScrollBack : public ConsolePaneTest, public testing::WithParamInterface<ScrollBackCase> {};

// Far more text than the pane keeps: it never holds more than its most, and
// it ends up with the newest text, at least the scroll-back's worth, from a
// line's start on (a line too long for that keeps its end). "Clear" still
// empties it.
TEST_P(ConsolePaneScrollBack, KeepsTheNewestWholeLines) {
  const ScrollBackCase& c = GetParam();
  std::wstring all;
  long most = 0;
  for (int n = 0; all.size() < static_cast<std::size_t>(ConsolePane::kMostUnits + 3 * ConsolePane::kGatherUnits); ++n) {
    std::wstring text = std::to_wstring(n) + L" ";
    text.resize(c.textUnits - (c.lineEnds ? 2 : 0), L'a' + static_cast<wchar_t>(n % 26));
    if (c.lineEnds) text += L"\r\n";
    ConsolePane::appendLine(text.c_str(), c.kind);
    all += (c.kind == ConsoleLineKind::Rx ? L"Rx>" : L"Tx> ") + text;
    most = std::max(most, paneLength());
  }
  ConsolePane::showGathered();
  const std::wstring kept = paneText();
  EXPECT_LE(most, ConsolePane::kMostUnits);
  EXPECT_LE(kept.size(), static_cast<std::size_t>(ConsolePane::kMostUnits));
  EXPECT_GE(kept.size(), static_cast<std::size_t>(ConsolePane::kKeepUnits));
  ASSERT_LT(kept.size(), all.size());
  const std::size_t cut = all.size() - kept.size();
  EXPECT_TRUE(all.compare(cut, kept.size(), kept) == 0) << "the pane does not hold the newest text";
  if (c.lineEnds) {
    EXPECT_EQ(all.substr(cut - 2, 2), L"\r\n") << "the kept text starts inside a line";
  }
  ConsolePane::clear();
  EXPECT_EQ(paneText(), L"");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ConsolePaneScrollBack,
    testing::Values(ScrollBackCase{"ShortReplies", ConsoleLineKind::Rx, 30, true},
                    ScrollBackCase{"LongCommands", ConsoleLineKind::Tx, 1500, true},
                    ScrollBackCase{"NoiseWithoutLineEnds", ConsoleLineKind::Rx, 1000, false}),
    [](const testing::TestParamInfo<ScrollBackCase>& info) { return std::string(info.param.name); });

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
