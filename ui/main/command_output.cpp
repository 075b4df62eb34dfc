#include "ui/main/command_output.h"

#include <windows.h>
#include <strsafe.h>

#include "links/serial_link.h"
#include "links/tcp_link.h"
#include "protocol/control_state.h"
#include "ui/main/console_pane.h"

namespace {
void echoTransmitLine(const wchar_t* line) { ConsolePane::appendLine(line, ConsoleLineKind::Tx); }
}  // namespace

Transmitted transmitOnSelectedLink(const wchar_t* text, int size) {
  if (controlState.linkMode != LinkMode::TcpIp) {
    if (serialLink.serialHandle == nullptr) return Transmitted::NoLink;
    if (writeSerialPort(serialLink.serialHandle, text, size)) return Transmitted::Sent;
    // A device that is gone is reported once the command is done with; the
    // reader may report the same loss first.
    DWORD error = GetLastError();
    if (writeFailureMeansLinkGone(error)) reportLinkLost(error, serialLink.connection);
    return Transmitted::Failed;
  }
  if (tcpSocket == INVALID_SOCKET) return Transmitted::NoLink;
  return sendTcp(text, size) == 0 ? Transmitted::Sent : Transmitted::Failed;
}

// A write that failed while the port stays open (it ended short, or a line
// error would not clear) is mended only by opening the port again, and
// nothing does it behind the operator's back. A pulled cable closes the port
// and says so on its own.
void reportNotSent(const wchar_t* text, Transmitted why) {
  wchar_t line[ConsolePane::kLineUnits] = {};
  const wchar_t* port = serialLink.openPortName;
  // The text is bounded so that the advice after it always fits the line.
  if (why == Transmitted::NoLink) {
    StringCchPrintfW(line, ConsolePane::kLineUnits,
                     L"Not sent: %.1800ls (no port is open; choose the unit's port in the Connect menu)\r\n", text);
  } else {
    StringCchPrintfW(line, ConsolePane::kLineUnits,
                     L"Not sent: %.1800ls (writing to %ls failed; choose %ls in the Connect menu again to "
                     L"reconnect)\r\n",
                     text, port, port);
  }
  ConsolePane::appendLine(line, ConsoleLineKind::System);
}

void routeCommandsToTheLink() {
  setCommandOutput(CommandOutput{transmitOnSelectedLink, echoTransmitLine, reportNotSent});
}
