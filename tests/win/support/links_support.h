#pragma once
// Helpers for the link tests: a window that records the bursts the serial
// reader delivers, capture of standard output, and the rig's extra ports.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct RxDelivery {
  std::wstring text;
  WPARAM count;
  LARGE_INTEGER handledAt;
};

// A real top-level window of this thread that keeps every WM_RX_TEXT it
// handles. onDelivery, when set, runs inside the handler.
class RxRecorder {
 public:
  RxRecorder();
  ~RxRecorder();
  RxRecorder(const RxRecorder&) = delete;
  RxRecorder& operator=(const RxRecorder&) = delete;

  HWND window() const { return window_; }
  std::vector<RxDelivery> deliveries;
  std::function<void(const RxDelivery&)> onDelivery;
  int appMessages = 0;  // WM_APP messages handled, to see the thread answer

 private:
  static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
};

// Runs action with this process's standard output sent to a file, and returns
// the bytes written meanwhile.
std::string captureStdout(const std::function<void()>& action);

// A file of the test rig's directory by its path through Wine's drive Z:
// (empty when no test session is running).
std::wstring rigFile(const wchar_t* name);

// The pty pair whose cable a test can pull (empty when the rig has none).
std::wstring unplugPortName();
std::wstring unplugPeerName();
// Asks the rig to pull and put back that pair's cable; true once it is back.
bool pullUnplugCable(int timeoutMs = 10000);

// Narrow bytes to their single-byte wide text.
std::wstring wideBytes(const std::string& bytes);

double millisecondsBetween(LARGE_INTEGER from, LARGE_INTEGER to);
