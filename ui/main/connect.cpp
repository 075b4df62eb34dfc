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

void appendPortLine(const wchar_t* format, const wchar_t* portName) {
  wchar_t line[kPortLineUnits] = {};
  StringCchPrintfW(line, kPortLineUnits, format, portName);
  ConsolePane::appendLine(line, ConsoleLineKind::System);
}

// Closes the open port; the "Closed" line or the closing error box. True when
// the port was closed.
bool closeOpenPort() {
  wchar_t name[kPortNameUnits] = {};
  StringCchCopyW(name, kPortNameUnits, serialLink.openPortName);
  if (closeSerialPort(serialLink.serialHandle) != 0) {
    showLastErrorBox(L"Port Closing wasn't successful.");
    return false;
  }
  appendPortLine(L"Closed %ls\r\n", name);
  return true;
}

void reportConfigurationFailure(int result) {
  if (result == 2) showLastErrorBox(L"Get configuration port has problem.");
  if (result == 1) showLastErrorBox(L"Set configuration port has problem.");
}

void configureOpenedPort() {
  int result = configureSerialPort(serialLink.serialHandle);
  if (result <= 0) {
    setDeviceControlsEnabled(true);
    // Every connection first silences the unit's buzzer, then asks for its state.
    setBuzzer(false);
    askUnitForItsState();
    return;
  }
  reportConfigurationFailure(result);
  closeOpenPort();   // the device controls stay disabled either way
}

bool openPortOfList(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= PortList.size()) return false;
  std::unique_ptr<wchar_t[]> name = copyPortName(index);
  return name != nullptr && openSerialPort(name.get(), mainWindowState.mainWindow) == 0;
}
}  // namespace

void connectToPort(int index) {
  // The error boxes have no owner, so the "&Connect" menu stays usable while
  // one is open; a port chosen then would run a connect inside this one and
  // close the port it opened.
  if (mainWindowState.connecting) return;
  mainWindowState.connecting = true;
  if (serialLink.portOpen && closeOpenPort()) setDeviceControlsEnabled(false);
  // A port that cannot be opened is reported nowhere; only the mark moves.
  if (openPortOfList(index)) {
    // Whatever unit is on the line now, nothing of the last connection's
    // replies carries over: no half line, no mute the unit cannot be asked for.
    forgetPartialReply();
    forgetReportedMutesOnScreen();
    appendPortLine(L"Opened %ls\r\n", serialLink.openPortName);
    configureOpenedPort();
  }
  markPortItem(IDM_PORT_BASE + index);
  mainWindowState.connecting = false;
}
