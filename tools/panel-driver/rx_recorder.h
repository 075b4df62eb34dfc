#pragma once
// Records the WM_RX_TEXT deliveries a window handles: the window is
// subclassed, its own procedure runs unchanged, and each delivery is stamped
// once that procedure has returned (for the main window: parsed, state
// stored, frames repainted, echo appended). The serial link tests' small
// window and the real main window are watched the same way. UI thread only,
// like the window itself.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

struct RxDelivery {
  std::wstring text;
  WPARAM count = 0;          // the message's byte count
  double handledAtMs = 0;    // nowMs when the window's procedure returned
  double handlingMs = 0;     // time inside it
};

class RxRecorder {
 public:
  RxRecorder() = default;
  explicit RxRecorder(HWND window) { watch(window); }
  ~RxRecorder() { stopWatching(); }
  RxRecorder(const RxRecorder&) = delete;
  RxRecorder& operator=(const RxRecorder&) = delete;

  // Starts recording what window handles (one window at a time).
  void watch(HWND window);
  void stopWatching();
  HWND window() const { return window_; }
  // Forgets what was recorded; keeps watching.
  void reset();

  bool keepEach = true;                  // record each delivery in deliveries
  std::vector<RxDelivery> deliveries;
  long handled = 0;                      // deliveries handled
  unsigned long long countedBytes = 0;   // sum of the messages' byte counts
  unsigned long long textUnits = 0;      // sum of the delivered texts' lengths
  double lastHandledAtMs = 0;
  double longestHandlingMs = 0;
  int appMessages = 0;                   // WM_APP handled, to see the thread answer
  // WM_LINK_LOST handled: the error and the connection of each.
  std::vector<std::pair<WPARAM, LPARAM>> linkLosses;
  // Run on the window's thread right before the window handles a delivery,
  // and right after.
  std::function<void()> beforeDelivery;
  std::function<void(const RxDelivery&)> onDelivery;

 private:
  static LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
  LRESULT record(HWND window, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
};
