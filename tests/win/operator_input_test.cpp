// What the operator types or pastes is what the unit gets: the edits keep the
// whole text (they scroll sideways), the row checks and the commands use all
// of it, and a long paste leaves the window answering. Text goes in as the
// keyboard's WM_CHAR or through the clipboard with WM_PASTE, both of which an
// edit's own limits apply to.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "tests/support/panel_fixtures.h"
#include "tools/panel-driver/message_box_watcher.h"
#include "tools/panel-driver/operator_input.h"
#include "tools/panel-driver/program_process.h"
#include "ui/ids.h"

namespace {
class OperatorInput : public ConnectedPanelTest {};

enum class Way { Typed, Pasted };

void enter(Way way, HWND edit, const std::wstring& text) {
  if (way == Way::Typed) {
    typeInto(edit, text);
  } else {
    ASSERT_TRUE(pasteInto(edit, text));
  }
}

std::wstring letters(std::size_t count) {
  std::wstring text;
  for (std::size_t i = 0; i < count; ++i) text += static_cast<wchar_t>(L'a' + i % 26);
  return text;
}

std::wstring digits(std::size_t count) {
  std::wstring text;
  for (std::size_t i = 0; i < count; ++i) text += static_cast<wchar_t>(L'0' + i % 10);
  return text;
}
}  // namespace

// A value too wide for its edit is kept whole, so it is checked as entered:
// "1921" is no octet and nothing goes; "0008080" is the port 8080.
TEST_F(OperatorInput, NetworkRowsAreCheckedAndSentAsEnteredWhole) {
  HWND window = openThroughMenu(IDM_NETWORK_SETTINGS);
  ASSERT_TRUE(IsWindow(window));
  expectSent("<SIPR><SPORT><SUBR><GAR>");
  struct RowCase {
    Way way;
    int setId;
    std::vector<std::wstring> texts;   // the IP address row's four, or the port
    bool valid;
    std::string wire;
  };
  const RowCase cases[] = {
      {Way::Typed, IDC_SET_IP_ADDRESS, {L"1921", L"168", L"1", L"20"}, false, ""},
      {Way::Pasted, IDC_SET_IP_ADDRESS, {L"2555", L"0", L"0", L"1"}, false, ""},
      {Way::Pasted, IDC_SET_IP_ADDRESS, {L"12345678901234567890", L"0", L"0", L"1"}, false, ""},
      {Way::Typed, IDC_SET_IP_ADDRESS, {L"010", L"255", L"0", L"200"}, true, onWire("<SIPR[10-255-0-200]>", 25)},
      {Way::Typed, IDC_SET_PORT, {L"0008080"}, true, onWire("<SPORT[8080]>", 15)},
      {Way::Pasted, IDC_SET_PORT, {L"1234567890123"}, false, ""},
  };
  for (const RowCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.setId << " " << testing::PrintToString(c.texts));
    std::vector<HWND> edits;
    if (c.setId == IDC_SET_PORT) {
      edits.push_back(portEdit());
    } else {
      for (int i = 0; i < 4; ++i) edits.push_back(ipAddressEdit(i));
    }
    for (std::size_t i = 0; i < edits.size(); ++i) enter(c.way, edits[i], c.texts[i]);
    for (std::size_t i = 0; i < edits.size(); ++i) ASSERT_EQ(windowText(edits[i]), c.texts[i]);
    MessageBoxWatcher invalid(L"Invalid IP Address");
    SendMessageW(GetDlgItem(window, c.setId), BM_CLICK, 0, 0);
    EXPECT_EQ(invalid.caught(), !c.valid);
    if (c.valid) {
      expectSent(c.wire);
    } else {
      expectNothingSent();
    }
    for (HWND edit : edits) SetWindowTextW(edit, L"");
  }
}

// The Send row sends what was typed or pasted, whole, with CR LF. The unit
// reads while the panel writes, as a unit does: a long text fills the line's
// buffer long before it is all out.
TEST_F(OperatorInput, SendPutsTheWholeTypedOrPastedTextOnTheLine) {
  struct SendCase {
    Way way;
    std::size_t length;
  };
  for (SendCase c : {SendCase{Way::Typed, 70}, SendCase{Way::Pasted, 200}, SendCase{Way::Pasted, 40000}}) {
    SCOPED_TRACE(testing::Message() << (c.way == Way::Typed ? "typed " : "pasted ") << c.length);
    const std::wstring text = letters(c.length);
    enter(c.way, mainWindowState.sendEdit, text);
    ASSERT_EQ(GetWindowTextLengthW(mainWindowState.sendEdit), static_cast<int>(c.length));
    const std::string expected = std::string(text.begin(), text.end()) + "\r\n";
    std::string got;
    std::thread unit([&] { got = peer.readAtLeast(expected.size(), 20000); });
    click(IDC_SEND);
    unit.join();
    EXPECT_EQ(got.size(), expected.size());
    EXPECT_TRUE(got == expected) << "the text on the line differs from what was entered";
    EXPECT_EQ(windowText(mainWindowState.sendEdit), L"");
  }
}

// Pasting 40,000 characters into an edit keeps the panel answering (a hang
// is what this catches): the Send edit, and an octet edit of Network Settings.
TEST_F(OperatorInput, ALongPasteLeavesTheWindowsAnswering) {
  HWND network = openThroughMenu(IDM_NETWORK_SETTINGS);
  expectSent("<SIPR><SPORT><SUBR><GAR>");
  const std::wstring text = digits(40000);
  struct Target {
    HWND window;
    HWND edit;
  };
  for (Target target : {Target{mainWindowState.mainWindow, mainWindowState.sendEdit},
                        Target{network, ipAddressEdit(0)}}) {
    bool pasted = false;
    EXPECT_TRUE(answersWhile(target.window, [&] { pasted = pasteInto(target.edit, text); }));
    EXPECT_TRUE(pasted);
    EXPECT_EQ(GetWindowTextLengthW(target.edit), 40000);
  }
}
