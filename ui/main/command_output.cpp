#include "ui/main/command_output.h"

#include "links/serial_link.h"
#include "links/tcp_link.h"
#include "protocol/command_set.h"
#include "protocol/control_state.h"
#include "ui/main/console_pane.h"

namespace {
void echoTransmitLine(const wchar_t* line) { ConsolePane::appendLine(line, ConsoleLineKind::Tx); }
}  // namespace

void transmitOnSelectedLink(const wchar_t* text, int size) {
  if (controlState.linkMode != LinkMode::TcpIp)
    writeSerialPort(serialLink.serialHandle, text, size);
  else
    sendTcp(text, size);
}

void routeCommandsToTheLink() { setCommandOutput(CommandOutput{transmitOnSelectedLink, echoTransmitLine}); }
