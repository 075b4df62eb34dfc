#include "tools/panel-driver/rx_recorder.h"

#include <commctrl.h>

#include <cwchar>

#include "links/serial_link.h"
#include "tools/panel-driver/timing.h"

namespace {
constexpr UINT_PTR kSubclassId = 0x5258;   // "RX"
}  // namespace

void RxRecorder::watch(HWND window) {
  stopWatching();
  if (SetWindowSubclass(window, subclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) window_ = window;
}

void RxRecorder::stopWatching() {
  // A destroyed window has lost its subclass with it.
  if (window_ != nullptr && IsWindow(window_)) RemoveWindowSubclass(window_, subclassProc, kSubclassId);
  window_ = nullptr;
}

void RxRecorder::reset() {
  deliveries.clear();
  handled = 0;
  countedBytes = 0;
  textUnits = 0;
  lastHandledAtMs = 0;
  longestHandlingMs = 0;
  appMessages = 0;
  linkLosses.clear();
}

LRESULT CALLBACK RxRecorder::subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self) {
  auto* recorder = reinterpret_cast<RxRecorder*>(self);
  if (message == WM_RX_TEXT) return recorder->record(window, wParam, lParam);
  if (message == WM_APP) ++recorder->appMessages;
  if (message == WM_LINK_LOST) recorder->linkLosses.emplace_back(wParam, lParam);
  return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT RxRecorder::record(HWND window, WPARAM wParam, LPARAM lParam) {
  // The text is the link's buffer, valid only while the message is handled.
  const wchar_t* text = reinterpret_cast<const wchar_t*>(lParam);
  RxDelivery delivery;
  if (keepEach && text != nullptr) delivery.text = text;
  delivery.count = wParam;
  std::size_t units = text != nullptr ? std::wcslen(text) : 0;
  if (beforeDelivery) beforeDelivery();
  double start = nowMs();
  LRESULT result = DefSubclassProc(window, WM_RX_TEXT, wParam, lParam);
  double end = nowMs();
  delivery.handledAtMs = end;
  delivery.handlingMs = end - start;
  ++handled;
  countedBytes += wParam;
  textUnits += units;
  lastHandledAtMs = end;
  if (delivery.handlingMs > longestHandlingMs) longestHandlingMs = delivery.handlingMs;
  if (keepEach) deliveries.push_back(delivery);
  if (onDelivery) onDelivery(delivery);
  return result;
}
