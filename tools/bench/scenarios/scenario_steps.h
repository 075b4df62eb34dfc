#pragma once
// Steps the measurements share: starting the connected panel, and reading the
// unit's stream back out of the output pane.
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "tools/bench/scenarios/panel_scenarios.h"

class RxRecorder;
class UnitPeer;

// Builds the main window, records its WM_RX_TEXT with rx, shows the output
// pane and connects to ports.program. Returns false (and says why in *why)
// when any step fails.
bool startConnectedPanel(const PanelPorts& ports, RxRecorder& rx, std::string* why);

// Opens the unit's end of the line, then startConnectedPanel. With settle,
// also waits out the opening queries and reads them away.
bool startPanelWithPeer(const PanelPorts& ports, UnitPeer& peer, RxRecorder& rx, bool settle, std::string* why);

// A stream paced at bytesPerSecond since startMs, after a first part of
// ahead bytes: how many of its total bytes are due by now.
std::size_t bytesDueNow(double startMs, double bytesPerSecond, std::size_t ahead, std::size_t total);

// One step of such a stream: writes what is due of it beyond *sent (then
// *sent is all that went), or waits a moment when nothing is due. False when
// the write fails.
bool writeDueBytes(UnitPeer& peer, const std::string& stream, double startMs, double bytesPerSecond,
                   std::size_t ahead, std::size_t* sent);

// Counts each occurrence of needle in text.
long countOf(const std::wstring& text, const std::wstring& needle);

// The pane's text from offset on with every "Rx>" prefix taken out: what the
// unit sent, if every burst landed.
std::wstring receivedTextFrom(const std::wstring& pane, std::size_t offset);

// Units of a and b that agree from the start.
std::size_t commonPrefix(const std::wstring& a, const std::wstring& b);

// Takes out every line that starts with prefix, up to and with its CR LF (the
// pane's own Tx and System lines: the benchmarks' streams hold neither prefix).
void removeLines(std::wstring& text, const std::wstring& prefix);

// The pane's received text, less its Tx and System lines and "Rx>" prefixes,
// is the newest part of stream: units of it, or -1 when it is not.
long long paneHoldsTheStreamTail(const std::wstring& pane, const std::string& stream);

// Waits (pumping) until the pane shows the newest part of the first written
// units of stream, gathered received text having gone in; the pane's text
// goes to *pane. Returns the units it holds of the stream, or -1 when it does
// not hold its newest part within the wait.
long long awaitStreamTailInPane(const std::string& stream, unsigned long long written, std::wstring* pane);

// Delivered texts held against the stream they should be, in order.
struct InOrder {
  const std::string* stream = nullptr;
  unsigned long long matched = 0;   // units equal to the stream, from its start
  bool broken = false;
  void take(const std::wstring& text);
};

// Counts what goes into the output pane while it lives: each insertion whose
// text holds a needle, once per needle found. The pane keeps only its newest
// text, so what it holds at the end no longer shows everything that went in.
class PaneInsertions {
 public:
  explicit PaneInsertions(std::vector<std::wstring> needles);
  ~PaneInsertions();
  PaneInsertions(const PaneInsertions&) = delete;
  PaneInsertions& operator=(const PaneInsertions&) = delete;
  long holding(std::size_t needle) const { return insertions_[needle]; }   // insertions that held it
  long found(std::size_t needle) const { return found_[needle]; }          // times it went in

 private:
  static LRESULT CALLBACK watch(HWND pane, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self);
  std::vector<std::wstring> needles_;
  std::vector<long> insertions_;
  std::vector<long> found_;
  HWND pane_ = nullptr;
};
