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
}  // namespace

namespace ConsolePane {

void appendLine(const wchar_t* text, ConsoleLineKind kind) {
  wchar_t prefix[kPrefixUnits];
  StringCchPrintfW(prefix, kPrefixUnits, L"%ls", prefixOf(kind));
  // A line too long for the buffer is cut; it then loses its line end.
  wchar_t line[kLineUnits];
  StringCchPrintfW(line, kLineUnits, L"%ls%ls", prefix, text);
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
