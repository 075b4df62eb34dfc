// A port whose device is gone (the cable pulled, the adapter unplugged, the
// unit's end closed): the panel stops offering what it can no longer do and
// tells the operator where they look, with the output pane hidden or not.
#include <windows.h>
#include <strsafe.h>

#include "links/serial_link.h"
#include "ui/main/console_pane.h"
#include "ui/main/control_enabling.h"
#include "ui/main/error_box.h"
#include "ui/main/main_window.h"
#include "ui/main/main_window_parts.h"
#include "ui/main/unit_state.h"

namespace {
constexpr int kReasonUnits = 256;
constexpr int kBoxUnits = 640;

void showLostLinkBox(const wchar_t* port, DWORD error, const wchar_t* reason) {
  wchar_t text[kBoxUnits] = {};
  StringCchPrintfW(text, kBoxUnits,
                   L"The connection to %ls was lost.\nError %lu: %ls\n\nThe port is closed. Check the cable and "
                   L"that the unit is switched on, then choose %ls in the Connect menu to connect again.",
                   port, error, reason, port);
  showNotice(mainWindowState.mainWindow, text, L"Connection Lost");
}
}  // namespace

void reportLostLink(DWORD error, LPARAM connection) {
  // The reader and a failed write may both report the same loss, and a report
  // can arrive after the operator has opened another port. A connect under way
  // closes the port itself when it fails; a report that its error boxes let
  // through must not close the port under it.
  if (mainWindowState.connecting || !serialLink.portOpen || connection != serialLink.connection) return;
  if (mainWindowState.lossReported == connection) return;
  mainWindowState.lossReported = connection;
  stopAnswerWatch();
  wchar_t port[kPortNameUnits] = {};
  StringCchCopyW(port, kPortNameUnits, serialLink.openPortName);
  wchar_t reason[kReasonUnits] = {};
  systemErrorText(error, reason, kReasonUnits);
  wchar_t line[ConsolePane::kLineUnits] = {};
  StringCchPrintfW(line, ConsolePane::kLineUnits, L"Lost %ls (error %lu: %ls)\r\n", port, error, reason);
  ConsolePane::appendLine(line, ConsoleLineKind::System);
  // Grey whether or not the handle closes: nothing reaches the unit any more,
  // and what it reported is shown no longer, as before the first connection.
  closeOpenPort();
  setDeviceControlsEnabled(false);
  clearPortMark();
  forgetUnitReportsOnScreen();
  showLostLinkBox(port, error, reason);
}
