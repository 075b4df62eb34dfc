// The Send row: the edit's text goes to the unit with CR LF appended.
#include <windows.h>
#include <strsafe.h>

#include <memory>
#include <new>

#include "links/serial_link.h"
#include "links/single_byte_text.h"
#include "protocol/command_texts.h"
#include "ui/main/command_output.h"
#include "ui/main/console_pane.h"
#include "ui/main/main_window.h"

void sendFreeText() {
  if (!serialLink.portOpen) return;
  int units = GetWindowTextLengthW(mainWindowState.sendEdit) + 1;
  if (units <= 1) return;
  // Whole or not at all: the edit holds one character more than this, so a
  // text cut at its capacity is too long as well.
  if (units - 1 > kFreeTextMaxUnits) {
    wchar_t line[ConsolePane::kLineUnits] = {};
    StringCchPrintfW(line, ConsolePane::kLineUnits,
                     L"Not sent: the text is longer than %d characters, the most the Send row sends\r\n",
                     kFreeTextMaxUnits);
    ConsolePane::appendLine(line, ConsoleLineKind::System);
    return;
  }
  // The text, CR LF and the terminator fill units + 2 exactly. Without memory
  // nothing is sent, as with an empty edit.
  const int size = units + 2;
  std::unique_ptr<wchar_t[]> text(new (std::nothrow) wchar_t[2 * units + 6]());
  if (text == nullptr) return;
  GetWindowTextW(mainWindowState.sendEdit, text.get(), units);
  // The unit takes single bytes only; a character beyond them would leave
  // nothing on the wire, so the text stays in the edit and is not echoed.
  if (!hasSingleByteForm(text.get())) {
    ConsolePane::appendLine(L"Not sent: the unit takes only single-byte characters\r\n", ConsoleLineKind::System);
    return;
  }
  StringCchCatW(text.get(), size, L"\r\n");
  if (transmitOnSelectedLink(text.get(), size) == Transmitted::Failed) {
    // Not on the line: the text stays in the edit to be sent again.
    text[units - 1] = 0;
    reportNotSent(text.get(), Transmitted::Failed);
    return;
  }
  ConsolePane::appendLine(text.get(), ConsoleLineKind::Tx);
  SetWindowTextW(mainWindowState.sendEdit, L"");
}
