#include "ui/main/console_pane.h"

#include <windows.h>
#include <strsafe.h>

#include <cwchar>

#include "ui/main/main_window.h"
#include "ui/main/pane_scrollback.h"

namespace {
constexpr UINT_PTR kGatherTimer = 1;

// Received lines waiting to go in, with room for the one line that goes in
// behind them; and the pane they were gathered for (a new pane starts
// without them).
wchar_t gathered[ConsolePane::kGatherUnits + ConsolePane::kLineUnits];
std::size_t gatheredUnits = 0;
HWND gatheredFor = nullptr;

const wchar_t* prefixOf(ConsoleLineKind kind) {
  switch (kind) {
    case ConsoleLineKind::Rx: return L"Rx>";
    case ConsoleLineKind::Tx: return L"Tx> ";
    default: return L"System> ";
  }
}

bool endsItsLine(const wchar_t* text) {
  std::size_t length = 0;
  if (FAILED(StringCchLengthW(text, STRSAFE_MAX_CCH, &length))) return false;
  return length >= 2 && text[length - 2] == L'\r' && text[length - 1] == L'\n';
}

// The prefixed line, cut to the line buffer; its length.
std::size_t formatLine(const wchar_t* text, ConsoleLineKind kind, wchar_t (&line)[ConsolePane::kLineUnits]) {
  wchar_t prefix[ConsolePane::kPrefixUnits];
  StringCchPrintfW(prefix, ConsolePane::kPrefixUnits, L"%ls", prefixOf(kind));
  // A line too long for the buffer is cut; a text that ended its line still
  // does, so the next line does not run on behind it.
  if (StringCchPrintfW(line, ConsolePane::kLineUnits, L"%ls%ls", prefix, text) == STRSAFE_E_INSUFFICIENT_BUFFER &&
      endsItsLine(text)) {
    line[ConsolePane::kLineUnits - 3] = L'\r';
    line[ConsolePane::kLineUnits - 2] = L'\n';
  }
  return std::wcslen(line);
}

// One insertion at the end of the pane, whatever the user has selected. The
// caret goes to the end by the text's length: selecting all and then nothing
// does the same but repaints the whole pane twice (5 to 20 ms under Wine).
void insertAtEnd(HWND pane, const wchar_t* text, std::size_t units) {
  makeRoomInPane(pane, units);
  LRESULT end = SendMessageW(pane, WM_GETTEXTLENGTH, 0, 0);
  SendMessageW(pane, EM_SETSEL, static_cast<WPARAM>(end), end);
  SendMessageW(pane, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}

void CALLBACK showGatheredOnTimer(HWND, UINT, UINT_PTR, DWORD) { ConsolePane::showGathered(); }

// Puts a line behind the gathered text; what is gathered goes in first when
// the line would take it past its limit.
void gather(HWND pane, const wchar_t* line, std::size_t units) {
  if (gatheredFor != pane) gatheredUnits = 0;
  gatheredFor = pane;
  if (gatheredUnits + units > static_cast<std::size_t>(ConsolePane::kGatherUnits)) ConsolePane::showGathered();
  std::wmemcpy(gathered + gatheredUnits, line, units + 1);
  gatheredUnits += units;
}
}  // namespace

namespace ConsolePane {

void appendLine(const wchar_t* text, ConsoleLineKind kind) {
  HWND pane = mainWindowState.consoleEdit;
  if (pane == nullptr) return;
  wchar_t line[kLineUnits];
  std::size_t units = formatLine(text, kind, line);
  gather(pane, line, units);
  if (kind != ConsoleLineKind::Rx) {
    showGathered();
    return;
  }
  // The first received text to wait sets the timer; without one it goes in at once.
  if (gatheredUnits == units && SetTimer(pane, kGatherTimer, kGatherMs, showGatheredOnTimer) == 0) showGathered();
}

void showGathered() {
  HWND pane = mainWindowState.consoleEdit;
  if (gatheredFor != nullptr) KillTimer(gatheredFor, kGatherTimer);
  if (pane != nullptr && gatheredFor == pane && gatheredUnits > 0) insertAtEnd(pane, gathered, gatheredUnits);
  gatheredUnits = 0;
}

void clear() {
  HWND pane = mainWindowState.consoleEdit;
  if (gatheredFor != nullptr) KillTimer(gatheredFor, kGatherTimer);
  gatheredUnits = 0;
  SendMessageW(pane, EM_SETSEL, 0, -1);
  SendMessageW(pane, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
}

}  // namespace ConsolePane
