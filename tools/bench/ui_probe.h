#pragma once
// Measures how long the UI thread takes to answer: a second thread sends it
// WM_NULL about every 10 ms and keeps the longest wait.
#include <windows.h>

#include <atomic>
#include <thread>

struct UiProbe {
  HWND window = nullptr;
  std::atomic<bool> stop{false};
  std::atomic<double> longestMs{0};
  std::atomic<long> probes{0};
  std::atomic<long> unanswered{0};   // waits that reached the probe's 5 s limit
  std::atomic<bool> ended{false};
  std::thread thread;
};

void startUiProbe(UiProbe& probe, HWND window);
// Called on the probed window's thread: answers the last probe while it waits.
void stopUiProbe(UiProbe& probe);
// Forgets the waits measured so far (after a phase that blocks on purpose).
void resetUiProbe(UiProbe& probe);
