#pragma once
// Watches the main window's handling of WM_RX_TEXT from outside: the window
// is subclassed, the original procedure runs unchanged, and each delivery is
// stamped when it has been handled (parsed, state stored, frames repainted,
// echo appended). UI thread only, like the window itself.
#include <windows.h>

#include <string>
#include <vector>

struct RxWatch {
  WNDPROC original = nullptr;
  long deliveries = 0;
  unsigned long long countedBytes = 0;   // sum of the messages' byte counts
  unsigned long long textUnits = 0;      // sum of the delivered texts' lengths
  double lastHandledAtMs = 0;            // when the newest delivery was handled
  double longestHandlingMs = 0;
  bool keepTimes = false;                // record each delivery below
  std::vector<double> handlingMs;        // time inside the window procedure
  std::vector<long> paneUnitsBefore;     // the pane's length as it began
};
extern RxWatch rxWatch;

void watchReceivedText(HWND mainWindow);
void resetRxWatch();

// The console pane's length and text.
long paneLength();
std::wstring paneText();

// Pumps this thread's messages (sent ones too) for about ms milliseconds, or
// until done() holds; returns done().
template <typename Done>
bool pumpUntil(Done done, double ms);
void pumpMs(double ms);

// The number of the "&Connect" item that names the port (as the program
// lists the ports: PortList after start-up); -1 when none.
int portItemIndex(const std::wstring& name);

// Counts each occurrence of needle in text.
long countOf(const std::wstring& text, const std::wstring& needle);

// The pane's text from offset on with every "Rx>" prefix taken out: what the
// unit sent, if every burst landed.
std::wstring receivedTextFrom(const std::wstring& pane, std::size_t offset);

// Units of a and b that agree from the start.
std::size_t commonPrefix(const std::wstring& a, const std::wstring& b);

#include "tools/bench/rx_watch_inl.h"
