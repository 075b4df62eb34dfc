#include "ui/main/pane_scrollback.h"

#include "ui/main/console_pane.h"

namespace {
// The most that can go in one step: what the pane may hold beyond its
// scroll-back, and the most that one insertion brings.
constexpr std::size_t kSurplusUnits =
    ConsolePane::kMostUnits - ConsolePane::kKeepUnits + ConsolePane::kGatherUnits + ConsolePane::kLineUnits;
wchar_t head[kSurplusUnits + 1];

// Where the kept text starts: the last line start within the surplus, unless
// the pane would still hold too much from there.
std::size_t cutWithin(HWND pane, std::size_t surplus, std::size_t total) {
  std::size_t read = static_cast<std::size_t>(
      SendMessageW(pane, WM_GETTEXT, static_cast<WPARAM>(surplus + 1), reinterpret_cast<LPARAM>(head)));
  for (std::size_t at = read; at >= 2; --at) {
    if (head[at - 2] == L'\r' && head[at - 1] == L'\n') {
      if (total - at <= static_cast<std::size_t>(ConsolePane::kMostUnits)) return at;
      break;
    }
  }
  return read;
}
}  // namespace

void makeRoomInPane(HWND pane, std::size_t incoming) {
  std::size_t length = static_cast<std::size_t>(GetWindowTextLengthW(pane));
  std::size_t total = length + incoming;
  if (total <= static_cast<std::size_t>(ConsolePane::kMostUnits)) return;
  std::size_t surplus = total - ConsolePane::kKeepUnits;
  if (surplus > length) surplus = length;
  if (surplus > kSurplusUnits) surplus = kSurplusUnits;
  std::size_t cut = cutWithin(pane, surplus, total);
  if (cut == 0) return;
  // Not kept for undo: the pane's undo would hold the whole cut.
  SendMessageW(pane, EM_SETSEL, 0, static_cast<LPARAM>(cut));
  SendMessageW(pane, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
}
