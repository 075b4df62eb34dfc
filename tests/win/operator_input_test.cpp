// What the operator types or pastes is what the unit gets: the edits keep the
// whole text (they scroll sideways), the row checks and the commands use all
// of it, a text that may have been cut at an edit's capacity is never sent,
// and a long paste leaves the window answering. Text goes in as the
// keyboard's WM_CHAR or through the clipboard with WM_PASTE, both of which an
// edit's own limits apply to.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
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
// "1921" is no octet and nothing goes; "0008080" is the port 8080. A paste
// that fills the edit may have lost its end ("…0001" cut to zeros): refused.
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
      {Way::Pasted, IDC_SET_PORT, {std::wstring(254, L'0') + L"1"}, true, onWire("<SPORT[1]>", 15)},
      {Way::Pasted, IDC_SET_PORT, {std::wstring(39999, L'0') + L"1"}, false, ""},
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
    // An edit holds 256 characters.
    for (std::size_t i = 0; i < edits.size(); ++i) ASSERT_EQ(windowText(edits[i]), c.texts[i].substr(0, 256));
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

// The Send row sends what was typed or pasted, whole, with CR LF and its whole
// echo, up to 1,024 characters. A longer text, or a paste cut at the edit's
// capacity of 1,025, stays in the edit, nothing goes, and a line says why.
TEST_F(OperatorInput, SendPutsTheWholeTypedOrPastedTextOnTheLine) {
  struct SendCase {
    Way way;
    std::size_t length;
    bool sent;
  };
  const std::wstring tooLong =
      L"System> Not sent: the text is longer than 1024 characters, the most the Send row sends\r\n";
  for (SendCase c : {SendCase{Way::Typed, 70, true}, SendCase{Way::Pasted, 200, true},
                     SendCase{Way::Pasted, 1024, true}, SendCase{Way::Typed, 1026, false},
                     SendCase{Way::Pasted, 40000, false}}) {
    SCOPED_TRACE(testing::Message() << (c.way == Way::Typed ? "typed " : "pasted ") << c.length);
    const std::wstring text = letters(c.length);
    enter(c.way, mainWindowState.sendEdit, text);
    const std::wstring kept = text.substr(0, 1025);
    ASSERT_EQ(windowText(mainWindowState.sendEdit), kept);
    const std::wstring before = paneText();
    click(IDC_SEND);
    if (c.sent) {
      expectSent(std::string(text.begin(), text.end()) + "\r\n");
      EXPECT_EQ(paneText(), before + L"Tx> " + text + L"\r\n");
      EXPECT_EQ(windowText(mainWindowState.sendEdit), L"");
    } else {
      expectNothingSent();
      EXPECT_EQ(paneText().substr(before.size(), tooLong.size()), tooLong);
      EXPECT_EQ(windowText(mainWindowState.sendEdit), kept);
      SetWindowTextW(mainWindowState.sendEdit, L"");
    }
  }
}

// Pasting 40,000 characters into an edit keeps the panel answering (a hang
// is what this catches): the Send edit with the output pane shown, and an
// octet edit of Network Settings, each painted after the paste.
TEST_F(OperatorInput, ALongPasteLeavesTheWindowsAnswering) {
  choose(IDM_SHOW_OUTPUT);
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
    EXPECT_TRUE(answersWhile(target.window, [&] {
      pasted = pasteInto(target.edit, text);
      RedrawWindow(target.edit, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }));
    EXPECT_TRUE(pasted);
    EXPECT_GT(GetWindowTextLengthW(target.edit), 0);
  }
}
