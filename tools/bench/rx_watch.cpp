#include "tools/bench/rx_watch.h"

#include <cwchar>

#include "links/port_discovery.h"
#include "links/serial_link.h"
#include "protocol/control_state.h"
#include "ui/main/main_window.h"

RxWatch rxWatch;

namespace {
LRESULT CALLBACK watchingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_RX_TEXT) return CallWindowProcW(rxWatch.original, window, message, wParam, lParam);
  const wchar_t* text = reinterpret_cast<const wchar_t*>(lParam);
  std::size_t units = text != nullptr ? std::wcslen(text) : 0;
  long before = rxWatch.keepTimes ? paneLength() : 0;
  double start = nowMs();
  LRESULT result = CallWindowProcW(rxWatch.original, window, message, wParam, lParam);
  double end = nowMs();
  ++rxWatch.deliveries;
  rxWatch.countedBytes += wParam;
  rxWatch.textUnits += units;
  rxWatch.lastHandledAtMs = end;
  if (end - start > rxWatch.longestHandlingMs) rxWatch.longestHandlingMs = end - start;
  if (rxWatch.keepTimes) {
    rxWatch.handlingMs.push_back(end - start);
    rxWatch.paneUnitsBefore.push_back(before);
  }
  return result;
}
}  // namespace

void watchReceivedText(HWND mainWindow) {
  rxWatch.original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(mainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watchingProc)));
}

void resetRxWatch() {
  WNDPROC original = rxWatch.original;
  rxWatch = RxWatch();
  rxWatch.original = original;
}

long paneLength() { return static_cast<long>(SendMessageW(mainWindowState.consoleEdit, WM_GETTEXTLENGTH, 0, 0)); }

std::wstring paneText() {
  std::wstring text(static_cast<std::size_t>(paneLength()) + 1, L'\0');
  LRESULT got = SendMessageW(mainWindowState.consoleEdit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<std::size_t>(got));
  return text;
}

void pumpWaiting(DWORD ms) { MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE); }

void pumpMs(double ms) {
  pumpUntil([] { return false; }, ms);
}

int portItemIndex(const std::wstring& name) {
  for (std::size_t i = 0; i < PortList.size(); ++i) {
    if (PortList[i] == name) return static_cast<int>(i);
  }
  return -1;
}

long countOf(const std::wstring& text, const std::wstring& needle) {
  long count = 0;
  for (std::size_t at = text.find(needle); at != std::wstring::npos; at = text.find(needle, at + needle.size())) {
    ++count;
  }
  return count;
}

std::wstring receivedTextFrom(const std::wstring& pane, std::size_t offset) {
  std::wstring received;
  received.reserve(pane.size());
  const std::wstring prefix = L"Rx>";
  std::size_t at = offset;
  while (at < pane.size()) {
    std::size_t next = pane.find(prefix, at);
    if (next == std::wstring::npos) next = pane.size();
    received.append(pane, at, next - at);
    at = next + prefix.size();
  }
  return received;
}

std::size_t commonPrefix(const std::wstring& a, const std::wstring& b) {
  std::size_t n = 0;
  while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
  return n;
}
