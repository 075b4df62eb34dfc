// A link that dies, stays silent or carries leftovers: what the panel tells
// the operator (with the output pane hidden, as the program starts), and what
// it does with writes that do not go out whole and with line errors.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "links/serial_link.h"
#include "tests/support/controls_and_menus.h"
#include "tests/support/import_patch.h"
#include "tests/support/panel_fixtures.h"
#include "tools/panel-driver/message_box_watcher.h"
#include "tools/panel-driver/rig_cable.h"
#include "tools/panel-driver/rx_recorder.h"
#include "tools/panel-driver/timing.h"
#include "ui/ids.h"

namespace {
class LinkHealth : public PanelTest {};

bool endsWith(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool portItemChecked(const std::wstring& port) {
  int id = findMenuItemId(mainWindowState.mainMenu, port);
  return id != -1 && menuItemOf(mainWindowState.mainMenu, static_cast<UINT>(id)).checked;
}

bool deviceControlsEnabled() {
  MainWindowState& s = mainWindowState;
  return IsWindowEnabled(s.videoInputButtons[0]) && IsWindowEnabled(s.muteAllButton) &&
         !menuItemOf(s.mainMenu, IDM_RESTORE_DEFAULTS).grayed && !menuItemOf(s.mainMenu, IDM_NETWORK_SETTINGS).grayed;
}

bool deviceControlsGrey() {
  MainWindowState& s = mainWindowState;
  return !IsWindowEnabled(s.videoInputButtons[0]) && !IsWindowEnabled(s.muteAllButton) &&
         menuItemOf(s.mainMenu, IDM_RESTORE_DEFAULTS).grayed && menuItemOf(s.mainMenu, IDM_NETWORK_SETTINGS).grayed;
}

// The cable is pulled with the output pane hidden: one box of the main window
// names the port and the system's reason, the pane keeps the record, the port
// is closed, its mark gone and the device controls grey. A second report of
// the same loss while the box is open adds nothing. With the cable back,
// choosing the port connects again.
TEST_F(LinkHealth, APulledCableIsReportedOnceAndThePortConnectsAgain) {
  if (unplugPortName().empty()) GTEST_SKIP() << "the rig has no pair whose cable can be pulled";
  const std::wstring port = unplugPortName();
  auto unit = std::make_unique<UnitPeer>(unplugPeerName());
  ASSERT_TRUE(unit->isOpen());
  ASSERT_NE(startPanel(), nullptr);
  choosePortItem(port);
  ASSERT_EQ(unit->readAtLeast(kOpeningQueries.size()), kOpeningQueries);
  ASSERT_FALSE(mainWindowState.outputShown);
  ASSERT_TRUE(unit->write(">Video Input: VGA2\r\n"));
  ASSERT_TRUE(waitFor([] { return controlState.videoInput == 3; }));
  HWND window = mainWindowState.mainWindow;
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDM_VGA_IMAGE_ADJUSTMENTS, 0), 0);
  HWND vga = vgaImageAdjustmentsWindow();
  ASSERT_TRUE(IsWindow(vga));
  // The operator has minimised the panel.
  SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(IsIconic(window));
  const LPARAM connection = serialLink.connection;
  std::atomic<bool> iconicWithTheBox{true};
  MessageBoxWatcher lost(L"Connection Lost", [&] {
    iconicWithTheBox = IsIconic(window) != FALSE;
    PostMessageW(window, WM_LINK_LOST, ERROR_NOT_READY, connection);
  });
  unit.reset();
  ASSERT_TRUE(pullUnplugCable()) << "the rig did not bring the pair back";
  ASSERT_TRUE(lost.waitCaught(10000));
  pumpFor(200);   // the second report, posted while the box was open, has been handled
  EXPECT_EQ(lost.count(), 1);
  EXPECT_EQ(lost.firstOwner(), window);
  EXPECT_FALSE(lost.firstOwnerEnabled());
  EXPECT_FALSE(iconicWithTheBox.load()) << "the box stood alone beside a minimised panel";
  const std::wstring opening = L"The connection to " + port + L" was lost.\nError 109: ";
  EXPECT_EQ(lost.text().substr(0, opening.size()), opening);
  EXPECT_NE(lost.text().find(L"then choose " + port + L" in the Connect menu to connect again."), std::wstring::npos);
  std::wstring pane = paneText();
  EXPECT_NE(pane.find(L"System> Lost " + port + L" (error 109: "), std::wstring::npos);
  EXPECT_TRUE(endsWith(pane, L")\r\nSystem> Closed " + port + L"\r\n"));
  EXPECT_FALSE(serialLink.portOpen);
  EXPECT_FALSE(portItemChecked(port));
  EXPECT_EQ(mainWindowState.markedPortItem, 0);
  EXPECT_TRUE(deviceControlsGrey());
  EXPECT_EQ(controlState.videoInput, -1) << "the lost unit's input is still framed";
  // A settings window left open sends nowhere now, and says so.
  const std::wstring before = paneText();
  clickButton(GetDlgItem(vga, IDC_VGA_UP));
  EXPECT_EQ(paneText().substr(before.size()),
            L"System> Not sent: VStart+* (no port is open; choose the unit's port in the Connect menu)\r\n");

  unit = std::make_unique<UnitPeer>(unplugPeerName());
  ASSERT_TRUE(unit->isOpen());
  choosePortItem(port);
  EXPECT_EQ(unit->readAtLeast(kOpeningQueries.size()), kOpeningQueries);
  EXPECT_TRUE(portItemChecked(port));
  EXPECT_TRUE(deviceControlsEnabled());
  EXPECT_EQ(lost.count(), 1);
}

HANDLE portThatWillNotClose = nullptr;
BOOL WINAPI closeAllButThePort(HANDLE handle) {
  static auto* real = reinterpret_cast<decltype(&CloseHandle)>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CloseHandle")));
  if (handle != nullptr && handle == portThatWillNotClose) {
    SetLastError(ERROR_GEN_FAILURE);
    return FALSE;
  }
  return real(handle);
}

// The reader and a write both report one loss, and the dead port's handle
// will not close: the closing error box and one loss box, not one of each per
// report. Once the handle closes again, choosing the port connects.
TEST_F(LinkHealth, ALossIsReportedOnceEvenWhenItsPortWillNotClose) {
  UnitPeer peer(testPeerName());
  ASSERT_NE(startPanel(), nullptr);
  ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  MessageBoxWatcher boxes;
  {
    portThatWillNotClose = serialLink.serialHandle;
    ImportPatch closes("kernel32.dll", "CloseHandle", reinterpret_cast<const void*>(closeAllButThePort));
    ASSERT_TRUE(closes.active());
    for (int report = 0; report < 2; ++report)
      PostMessageW(mainWindowState.mainWindow, WM_LINK_LOST, ERROR_NOT_READY, serialLink.connection);
    ASSERT_TRUE(waitFor([&] { return boxes.count() == 2; }));
    pumpFor(200);
  }
  std::vector<std::wstring> shown = boxes.boxes();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].substr(0, 37), L"Error: Port Closing wasn't successful");
  EXPECT_EQ(shown[1].substr(0, 35 + testPortName().size()),
            L"Connection Lost: The connection to " + testPortName());
  EXPECT_TRUE(deviceControlsGrey());
  choosePortItem(testPortName());
  EXPECT_EQ(peer.readAtLeast(kOpeningQueries.size()), kOpeningQueries);
  EXPECT_TRUE(deviceControlsEnabled());
}

// A port with nothing behind it: once the wait after the opening queries has
// passed without a line, one box of the main window says so, naming the port;
// the controls stay usable, and a unit that answers later is shown. A unit
// that answers is never the subject of such a box.
TEST_F(LinkHealth, ASilentUnitIsReportedOnceAndAnAnsweringOneIsNot) {
  UnitPeer peer(testPeerName());
  ASSERT_NE(startPanel(), nullptr);
  mainWindowState.answerWaitMs = kUnitAnswerWaitMs;
  HWND window = mainWindowState.mainWindow;
  MessageBoxWatcher notice(L"No Answer");
  double chosenAt = nowMs();
  ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  ASSERT_TRUE(notice.waitCaught(kUnitAnswerWaitMs + 10000));
  EXPECT_GE(nowMs() - chosenAt, static_cast<double>(kUnitAnswerWaitMs));
  EXPECT_EQ(notice.firstOwner(), window);
  const std::wstring port = testPortName();
  EXPECT_EQ(notice.text().substr(0, 12 + port.size() + 18), L"The unit on " + port + L" has not answered.");
  EXPECT_NE(notice.text().find(L"plugged into " + port), std::wstring::npos);
  EXPECT_NE(paneText().find(L"System> No answer from the unit on " + port + L" in 3 s\r\n"), std::wstring::npos);
  EXPECT_TRUE(serialLink.portOpen);
  EXPECT_TRUE(deviceControlsEnabled());
  // Told once: no second box a wait later, and a late answer is shown.
  pumpFor(kUnitAnswerWaitMs + 500);
  EXPECT_EQ(notice.count(), 1);
  ASSERT_TRUE(peer.write(">Video Input: VGA2\r\n"));
  ASSERT_TRUE(waitFor([] { return controlState.videoInput == 3; }));

  // The same wait on a new connection whose unit answers at once.
  ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  ASSERT_TRUE(peer.write(">Bell Status: OFF\r\n"));
  pumpFor(kUnitAnswerWaitMs + 500);
  EXPECT_EQ(notice.count(), 1);
}

// Bytes that waited in the port before it was opened (a unit that spoke while
// nothing listened) are not read as the new unit's replies.
TEST_F(LinkHealth, BytesLeftOnTheLineBeforeTheOpenAreNotRead) {
  UnitPeer peer(testPeerName());
  const std::string leftover = ">HDMI AUDIO MUTE ON\r\n>SOURCE HDBaseT\r\n";
  ASSERT_TRUE(peer.write(leftover));
  // Wait until they stand in the program's end of the line.
  ASSERT_TRUE(waitFor([&] {
    HANDLE port = CreateFileW((L"\\\\.\\" + testPortName()).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) return false;
    COMSTAT status{};
    DWORD errors = 0;
    bool there = ClearCommError(port, &errors, &status) && status.cbInQue >= leftover.size();
    CloseHandle(port);
    return there;
  }));
  ASSERT_NE(startPanel(), nullptr);
  ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  ASSERT_TRUE(peer.write(">Video Input: VGA2\r\n"));
  ASSERT_TRUE(waitFor([] { return paneText().find(L"Rx>>Video Input: VGA2\r\n") != std::wstring::npos; }));
  EXPECT_EQ(controlState.videoInput, 3);
  EXPECT_EQ(controlState.hdmiAudioMuted, 0);
  EXPECT_EQ(paneText().find(L"HDMI AUDIO MUTE"), std::wstring::npos);
}

// A burst of nothing but zero bytes (a break on the line) adds nothing to the
// pane: the next line stands on a line of its own.
TEST_F(LinkHealth, ZeroBytesAloneAddNothingToThePane) {
  UnitPeer peer(testPeerName());
  ASSERT_NE(startPanel(), nullptr);
  ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  RxRecorder rx(mainWindowState.mainWindow);
  const std::wstring before = paneText();
  ASSERT_TRUE(peer.write(std::string(3, '\0')));
  ASSERT_TRUE(waitFor([&] { return rx.countedBytes == 3; }));
  EXPECT_EQ(paneText(), before);
  readVersions();
  EXPECT_EQ(paneText(), before + L"Tx> <SW>\r\n");
}

// A listed name longer than the menu shows (some virtual-port drivers name
// their ports so) is opened whole; only what is shown is cut.
TEST_F(LinkHealth, AListedNameLongerThanTheMenuShowsOpensWhole) {
  const std::wstring path = rigFile(L"pair1-a");   // the test port by its path through drive Z:
  if (path.empty()) GTEST_SKIP() << "no test rig directory";
  ASSERT_GT(path.size(), 15u);
  UnitPeer peer(testPeerName());
  ASSERT_NE(startPanelWithExtraPorts({path.c_str()}), nullptr);
  MessageBoxWatcher failure(L"Error");
  const std::wstring shown = path.substr(0, 15);
  choosePortItem(shown);
  EXPECT_EQ(failure.boxes(), std::vector<std::wstring>());
  EXPECT_EQ(peer.readAtLeast(kOpeningQueries.size()), kOpeningQueries);
  EXPECT_EQ(paneText().substr(0, 25 + shown.size()), L"System> Opened " + shown + L"\r\nTx> <Bel");
  EXPECT_TRUE(portItemChecked(shown));
}

// Replacements for the program's own WriteFile and ReadFile; each calls the
// real one by its address.
template <typename Function>
Function* realFunction(const char* name) {
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

enum class WriteFault { DeviceGone, EndsShort, LineErrorOnce };
std::atomic<WriteFault> writeFault{WriteFault::DeviceGone};
std::atomic<int> faultyWrites{0};
std::atomic<int> clearedErrors{0};

BOOL WINAPI faultyWriteFile(HANDLE file, LPCVOID bytes, DWORD count, LPDWORD done, LPOVERLAPPED overlapped) {
  static auto* real = realFunction<decltype(WriteFile)>("WriteFile");
  int call = ++faultyWrites;
  switch (writeFault.load()) {
    case WriteFault::DeviceGone:
      SetLastError(ERROR_NOT_READY);
      return FALSE;
    case WriteFault::EndsShort:   // a handshake line held the rest back until the time-out
      return real(file, bytes, count > 1 ? count - 1 : count, done, overlapped);
    case WriteFault::LineErrorOnce:
      if (call == 1) {
        SetLastError(ERROR_OPERATION_ABORTED);
        return FALSE;
      }
      return real(file, bytes, count, done, overlapped);
  }
  return FALSE;
}

BOOL WINAPI countedClearCommError(HANDLE file, LPDWORD errors, LPCOMSTAT status) {
  static auto* real = realFunction<decltype(ClearCommError)>("ClearCommError");
  ++clearedErrors;
  return real(file, errors, status);
}

struct WriteCase {
  const char* name;
  WriteFault fault;
  bool sent;        // the level went out whole and is echoed
  bool linkLost;    // the panel reports a lost link
};
void PrintTo(const WriteCase& value, std::ostream* out) { *out << value.name; }

class FaultyWrite : public LinkHealth, public testing::WithParamInterface<WriteCase> {};

// A level moved with the keyboard while the port's writes fail in one way:
// only a write that went out whole is echoed and remembered as sent, so the
// same level asked for again goes out once the line is sound.
TEST_P(FaultyWrite, OnlyAWholeWriteCountsAsSent) {
  const WriteCase& c = GetParam();
  UnitPeer peer(testPeerName());
  ASSERT_NE(startPanel(), nullptr);
  ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  MessageBoxWatcher lost(L"Connection Lost");
  HWND trackbar = mainWindowState.audioLevelTrackbars[2];
  const std::wstring before = paneText();
  {
    writeFault = c.fault;
    faultyWrites = 0;
    clearedErrors = 0;
    ImportPatch writes("kernel32.dll", "WriteFile", reinterpret_cast<const void*>(faultyWriteFile));
    ImportPatch clears("kernel32.dll", "ClearCommError", reinterpret_cast<const void*>(countedClearCommError));
    ASSERT_TRUE(writes.active() && clears.active());
    SendMessageW(trackbar, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(trackbar, WM_KEYUP, VK_DOWN, 0);
  }
  pumpMessages();
  const std::string wire = std::string("A 2 INPUT 1%") + '\0';
  const std::wstring notSent = L"System> Not sent: A 2 INPUT 1% (writing to " + testPortName() + L" failed";
  // The key's move and its end each ask for level 1 until one goes out; a
  // write that ended short put all but its last byte on the line.
  if (c.fault == WriteFault::EndsShort) EXPECT_EQ(peer.readAtLeast(24), "A 2 INPUT 1%A 2 INPUT 1%");
  if (c.sent) {
    EXPECT_EQ(printable(peer.readAtLeast(wire.size())), printable(wire));
    EXPECT_EQ(paneText(), before + L"Tx> A 2 INPUT 1%\r\n");
    EXPECT_GE(clearedErrors.load(), 1);
    EXPECT_EQ(controlState.audioInputLevel[2], 1);
  } else {
    EXPECT_EQ(paneText().substr(before.size(), notSent.size()), notSent);
    EXPECT_EQ(controlState.audioInputLevel[2], 0);
  }
  EXPECT_EQ(lost.count(), c.linkLost ? 1 : 0);
  EXPECT_EQ(serialLink.portOpen != FALSE, !c.linkLost);
  if (c.linkLost) {
    EXPECT_TRUE(deviceControlsGrey());
    return;
  }
  // The line is sound again: the level that did not go out goes now.
  SendMessageW(mainWindowState.mainWindow, WM_VSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(trackbar));
  if (c.sent) {
    readVersions();   // nothing went out before it
    EXPECT_EQ(peer.readAtLeast(4), "<SW>");
  } else {
    EXPECT_EQ(printable(peer.readAtLeast(wire.size())), printable(wire));
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultyWrite,
                         testing::Values(WriteCase{"DeviceGone", WriteFault::DeviceGone, false, true},
                                         WriteCase{"EndsShort", WriteFault::EndsShort, false, false},
                                         WriteCase{"LineErrorOnce", WriteFault::LineErrorOnce, true, false}),
                         [](const testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

std::atomic<bool> abortNextRead{false};
BOOL WINAPI abortingReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD got, LPOVERLAPPED overlapped) {
  static auto* real = realFunction<decltype(ReadFile)>("ReadFile");
  if (abortNextRead.exchange(false)) {
    SetLastError(ERROR_OPERATION_ABORTED);
    return FALSE;
  }
  return real(file, buffer, size, got, overlapped);
}

// A line error (a framing error, an overrun) aborts the reader's read on a
// port set to abort on errors: it is cleared, and the replies go on being
// read; the link is not lost.
TEST_F(LinkHealth, ALineErrorIsClearedAndReadingGoesOn) {
  UnitPeer peer(testPeerName());
  ASSERT_NE(startPanel(), nullptr);
  ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  MessageBoxWatcher lost(L"Connection Lost");
  RxRecorder rx(mainWindowState.mainWindow);
  ImportPatch reads("kernel32.dll", "ReadFile", reinterpret_cast<const void*>(abortingReadFile));
  ImportPatch clears("kernel32.dll", "ClearCommError", reinterpret_cast<const void*>(countedClearCommError));
  ASSERT_TRUE(reads.active() && clears.active());
  clearedErrors = 0;
  abortNextRead = true;
  ASSERT_TRUE(waitFor([] { return !abortNextRead.load(); }));
  ASSERT_TRUE(peer.write(">Video Input: VGA2\r\n"));
  ASSERT_TRUE(waitFor([] { return controlState.videoInput == 3; }));
  EXPECT_GE(clearedErrors.load(), 1);
  EXPECT_TRUE(rx.linkLosses.empty());
  EXPECT_EQ(lost.count(), 0);
  EXPECT_TRUE(serialLink.portOpen);
}
}  // namespace
