// Connecting to the unit from the "&Connect" menu: close what is open, open
// the chosen port, configure it and ask the unit for its state.
#include <windows.h>
#include <strsafe.h>

#include <cstddef>
#include <memory>

#include "links/port_discovery.h"
#include "links/serial_link.h"
#include "protocol/command_set.h"
#include "protocol/control_state.h"
#include "ui/ids.h"
#include "ui/main/console_pane.h"
#include "ui/main/control_enabling.h"
#include "ui/main/error_box.h"
#include "ui/main/main_window.h"
#include "ui/main/main_window_parts.h"
#include "ui/main/received_text.h"
#include "ui/main/unit_state.h"

namespace {
// Holds "Opened "/"Closed ", a 15-character port name and CR LF whole.
constexpr int kPortLineUnits = 32;
// "Opening " and a 15-character port name.
constexpr int kOpeningUnits = 32;

void appendPortLine(const wchar_t* format, const wchar_t* portName) {
  wchar_t line[kPortLineUnits] = {};
  StringCchPrintfW(line, kPortLineUnits, format, portName);
  ConsolePane::appendLine(line, ConsoleLineKind::System);
}

}  // namespace

bool closeOpenPort() {
  wchar_t name[kPortNameUnits] = {};
  StringCchCopyW(name, kPortNameUnits, serialLink.openPortName);
  if (closeSerialPort(serialLink.serialHandle) != 0) {
    showLastErrorBox(mainWindowState.mainWindow, L"Port Closing wasn't successful.");
    return false;
  }
  appendPortLine(L"Closed %ls\r\n", name);
  return true;
}

namespace {

void reportConfigurationFailure(int result) {
  HWND owner = mainWindowState.mainWindow;
  if (result == 2) showLastErrorBox(owner, L"Get configuration port has problem.");
  if (result == 1) showLastErrorBox(owner, L"Set configuration port has problem.");
}

// True when the port is set up and the unit has been asked for its state.
bool configureOpenedPort() {
  int result = configureSerialPort(serialLink.serialHandle);
  if (result <= 0) {
    setDeviceControlsEnabled(true);
    // Every connection first silences the unit's buzzer, then asks for its state.
    setBuzzer(false);
    askUnitForWhatThePanelShows();
    watchForTheUnitsAnswer();
    return true;
  }
  reportConfigurationFailure(result);
  closeOpenPort();   // the device controls stay disabled either way
  return false;
}

// A listed port that cannot be opened (another program holds it, or its
// adapter was unplugged after start-up) is reported with the system's reason.
// The port is opened by its whole listed name; only what the panel shows of
// it is cut.
bool openPortOfList(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= PortList.size()) return false;
  const wchar_t* name = PortList[static_cast<std::size_t>(index)].c_str();
  if (openSerialPort(name, mainWindowState.mainWindow) == 0) return true;
  DWORD cause = GetLastError();
  std::unique_ptr<wchar_t[]> shown = copyPortName(index);
  wchar_t operation[kOpeningUnits] = {};
  StringCchPrintfW(operation, kOpeningUnits, L"Opening %ls", shown != nullptr ? shown.get() : L"");
  SetLastError(cause);
  showLastErrorBox(mainWindowState.mainWindow, operation);
  return false;
}
}  // namespace

void connectToPort(int index) {
  // The boxes shown on the way belong to the main window, which takes no
  // input while one is open; a choice sent to it all the same (by another
  // program) would run a connect inside this one and is not taken.
  if (mainWindowState.connecting) return;
  mainWindowState.connecting = true;
  stopAnswerWatch();
  if (serialLink.portOpen && closeOpenPort()) setDeviceControlsEnabled(false);
  bool connected = false;
  if (openPortOfList(index)) {
    // Whatever unit is on the line now, nothing of the last connection's
    // replies carries over: no half line, no input, mute or network value of
    // another unit.
    forgetPartialReply();
    forgetUnitReportsOnScreen();
    appendPortLine(L"Opened %ls\r\n", serialLink.openPortName);
    connected = configureOpenedPort();
  }
  // The mark shows the port that is open, and only that one.
  if (connected) {
    markPortItem(IDM_PORT_BASE + index);
  } else {
    clearPortMark();
  }
  mainWindowState.connecting = false;
}
