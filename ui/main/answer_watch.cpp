// Choosing a port with no unit behind it (the wrong port, the unit switched
// off, a cable to another device) is the commonest mistake at a serial
// panel, and nothing else shows it: every click then goes nowhere. So a new
// connection waits for the unit's first line, and tells the operator once if
// none comes. The controls stay usable: a unit that answers later is shown.
#include <windows.h>
#include <strsafe.h>

#include "links/serial_link.h"
#include "ui/main/console_pane.h"
#include "ui/main/error_box.h"
#include "ui/main/main_window.h"

namespace {
constexpr UINT_PTR kAnswerWatchTimer = 0x4157;   // "AW"
constexpr int kNoticeUnits = 512;

void showNoAnswerNotice() {
  const wchar_t* port = serialLink.openPortName;
  wchar_t text[kNoticeUnits] = {};
  StringCchPrintfW(text, kNoticeUnits,
                   L"The unit on %ls has not answered.\n\nCheck that the unit's serial cable is plugged into %ls "
                   L"and not into another port, and that the unit is switched on; then choose the port again in "
                   L"the Connect menu.\n\nThe controls stay usable: when the unit answers, the panel shows its "
                   L"state.",
                   port, port);
  wchar_t line[kNoticeUnits] = {};
  StringCchPrintfW(line, kNoticeUnits, L"No answer from the unit on %ls in %u s\r\n", port,
                   mainWindowState.answerWaitMs / 1000);
  ConsolePane::appendLine(line, ConsoleLineKind::System);
  showNotice(mainWindowState.mainWindow, text, L"No Answer");
}
}  // namespace

void watchForTheUnitsAnswer() {
  stopAnswerWatch();
  if (mainWindowState.answerWaitMs == 0) return;
  mainWindowState.awaitingAnswer = true;
  SetTimer(mainWindowState.mainWindow, kAnswerWatchTimer, mainWindowState.answerWaitMs, nullptr);
}

void noteUnitLines(int lines) {
  if (lines > 0) stopAnswerWatch();
}

void stopAnswerWatch() {
  mainWindowState.awaitingAnswer = false;
  KillTimer(mainWindowState.mainWindow, kAnswerWatchTimer);
}

void onAnswerWatchTimer(UINT_PTR timer) {
  if (timer != kAnswerWatchTimer) return;
  // Told once: the notice stands for the whole connection.
  bool silent = mainWindowState.awaitingAnswer && serialLink.portOpen;
  stopAnswerWatch();
  if (silent) showNoAnswerNotice();
}
