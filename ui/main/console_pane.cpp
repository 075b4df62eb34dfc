#include "ui/main/console_pane.h"

#include <windows.h>
#include <strsafe.h>

#include "ui/main/main_window.h"

namespace {
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
}  // namespace

namespace ConsolePane {

void appendLine(const wchar_t* text, ConsoleLineKind kind) {
  wchar_t prefix[kPrefixUnits];
  StringCchPrintfW(prefix, kPrefixUnits, L"%ls", prefixOf(kind));
  // A line too long for the buffer is cut; a text that ended its line still
  // does, so the next line does not run on behind it.
  wchar_t line[kLineUnits];
  if (StringCchPrintfW(line, kLineUnits, L"%ls%ls", prefix, text) == STRSAFE_E_INSUFFICIENT_BUFFER &&
      endsItsLine(text)) {
    line[kLineUnits - 3] = L'\r';
    line[kLineUnits - 2] = L'\n';
  }
  HWND pane = mainWindowState.consoleEdit;
  // Selecting all and then nothing puts the caret at the end, wherever the
  // user's selection was, so the line always goes last.
  SendMessageW(pane, EM_SETSEL, 0, -1);
  SendMessageW(pane, EM_SETSEL, static_cast<WPARAM>(-1), -1);
  SendMessageW(pane, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(line));
}

void clear() {
  HWND pane = mainWindowState.consoleEdit;
  SendMessageW(pane, EM_SETSEL, 0, -1);
  SendMessageW(pane, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
}

}  // namespace ConsolePane
