#pragma once
// The in-process measurements of the control panel that `make bench`, `make
// stress` and the stress tests share: the real main window, built by the
// program's own start-up, connected with connectToPort, with the unit played
// on the other end of a COM port pair. Each starts the panel on the thread
// that becomes its UI thread and returns its figures; the caller watches for
// message boxes, prints the figures and ends the panel (endPanel).
#include <string>
#include <vector>

#include "tools/bench/spread.h"
#include "tools/panel-driver/timing.h"

struct PanelPorts {
  std::wstring program;   // the port the panel connects to
  std::wstring peer;      // the unit's end; empty when vrx-sim plays it
};
// The session's test pair, and its pair whose cable can be pulled.
PanelPorts sessionTestPorts();
PanelPorts sessionUnplugPorts();

struct ReplyDelay {
  bool ok = false;
  std::string why;
  int pairs = 0;
  int replyBytes = 0;
  Spread delayMs;          // last reply byte written -> its WM_RX_TEXT handled
  Spread handlingMs;       // inside the window procedure
  int splitReplies = 0;    // replies that came in more than one delivery
};
ReplyDelay measureReplyDelay(const PanelPorts& ports, int pairs);

struct SustainedInput {
  bool ok = false;
  std::string why;
  double seconds = 0;
  double rateBytesPerSecond = 0;      // asked of the writer
  unsigned long long written = 0;     // bytes the peer wrote
  double writeSeconds = 0;            // how long writing them took
  unsigned long long counted = 0;     // byte counts of the deliveries
  unsigned long long delivered = 0;   // units of the delivered texts
  unsigned long long inOrder = 0;     // delivered text equal to the stream, in order
  long long paneTailUnits = -1;       // the stream's newest text in the pane; -1 when it is not
  long deliveries = 0;
  double drainMs = 0;                 // last byte written -> all delivered
  double longestUiWaitMs = 0;
  long probes = 0;
  long unansweredProbes = 0;
  double longestHandlingMs = 0;
  long paneUnits = 0;
};
SustainedInput measureSustainedInput(const PanelPorts& ports, double seconds, double bytesPerSecond);

struct ConnectCycles {
  bool ok = false;
  std::string why;
  int cycles = 0;
  long handlesBefore = 0, handlesAfter = 0, handlesPeak = 0;   // GetProcessHandleCount
  long tableBefore = 0, tableAfter = 0, tablePeak = 0;         // the system handle table
  long threadsBefore = 0, threadsAfter = 0, threadsPeak = 0;
  Spread connectMs;            // one connectToPort: close, open, configure, queries
  long closedLines = 0;        // "Closed" lines in the pane: every close returned
  long openedLines = 0;
  long deliveries = 0;         // bursts handled meanwhile (the peer keeps talking)
};
ConnectCycles measureConnectCycles(const PanelPorts& ports, int cycles);

// How the cable is pulled: by the rig's unpluggable pair (the benchmark pulls
// it through the rig's request file) or by vrx-sim hanging up by itself.
enum class UnplugBy { RigPair, Simulator };
struct Unplug {
  bool ok = false;
  std::string why;
  int rounds = 0;
  int reconnected = 0;          // rounds whose next connect brought replies again
  double longestUiWaitMs = 0;   // while the cable was out
  long unansweredProbes = 0;
  bool windowKept = true;
  int lossesShown = 0;          // rounds in which the panel closed the port and said so by itself
  Spread lossShownMs;           // cable out -> port closed, the loss reported
  Spread outageMs;              // cable out -> port back and reconnected
  Spread firstReplyMs;          // reconnect -> first reply handled
};
Unplug measureUnplug(const PanelPorts& ports, UnplugBy by, int rounds);

struct HostileInput {
  bool ok = false;
  std::string why;
  double seconds = 0;
  unsigned long long counted = 0;
  long deliveries = 0;
  long invariantChecks = 0;
  long invariantFailures = 0;
  int windows = 0;              // one-second windows
  int windowsWithTraffic = 0;   // of them, those in which received text went into the pane
  double longestUiWaitMs = 0;
  long unansweredProbes = 0;
  bool windowKept = true;
};
// peer empty: vrx-sim's garbage mode is on the line; else the benchmark
// writes its own noise at bytesPerSecond.
HostileInput measureHostileInput(const PanelPorts& ports, double seconds, double bytesPerSecond);

struct PastedInto {
  Spread pasteMs;               // one WM_PASTE, sent on the UI thread, and the paint after it
  int kept = 0;                 // characters the edit holds afterwards
  int capacity = 0;             // the most it holds (EM_GETLIMITTEXT)
  double longestUiWaitMs = 0;   // the probe's longest wait on the edit's window
  long unansweredProbes = 0;
};
struct LongPaste {
  bool ok = false;
  std::string why;
  int characters = 0;
  PastedInto sendEdit;          // the main window's Send edit
  PastedInto octetEdit;         // the first IP address octet of Network Settings
};
// Pastes characters digits from the clipboard, runs times into each edit.
LongPaste measureLongPaste(const PanelPorts& ports, int characters, int runs);

struct PaneMark {
  long receivedUnits = 0;       // the mark: 100 KB, 500 KB, 1 MB of received text
  long paneUnits = 0;           // the pane's text there
  Spread handlingMs;            // WM_RX_TEXT handling of the bursts after it
  Spread appendMs;              // appendLine of a 1000-unit line at the mark
  double clickMs = 0;           // a button click (write + echo) at the mark
};
struct LongSession {
  bool ok = false;
  std::string why;
  unsigned long long written = 0;
  unsigned long long inOrder = 0;   // delivered text equal to the stream, in order
  long long paneTailUnits = 0;      // the stream's newest text in the pane; -1 when it is not
  long deliveries = 0;
  double seconds = 0;
  long paneUnits = 0;
  double longestUiWaitMs = 0;
  std::vector<PaneMark> marks;
};
LongSession measureLongSession(const PanelPorts& ports, unsigned long long bytes,
                               const std::vector<long>& marks);

struct PaneCostsAt {
  long paneUnits = 0;           // the pane's text before each step
  Spread selectAllMs;           // EM_SETSEL 0, -1
  Spread dropSelectionMs;       // EM_SETSEL -1, -1
  Spread caretAtEndMs;          // WM_GETTEXTLENGTH, then EM_SETSEL length, length
  Spread replaceMs;             // EM_REPLACESEL of one 1,000-unit delivery, no paint
  Spread paintMs;               // the pane's paint after it
  Spread gatheredMs;            // EM_REPLACESEL of 8,000 units at once
  Spread echoMs;                // EM_REPLACESEL of a click's echo line
  Spread trimMs;                // the oldest 50,000 units taken off, and the paint
};
struct PaneCosts {
  bool ok = false;
  std::string why;
  std::vector<PaneCostsAt> at;
};
// What the output pane's edit takes for each step at each size of its text,
// in the real main window: where an append's time goes.
PaneCosts measurePaneCosts(const std::vector<long>& sizes);

struct ProcessSample {
  long long workingSetBytes = -1;   // this process's memory in use
  long handles = -1;             // its entries in the system handle table
  long threads = -1;
};
struct ClicksUnderStream {
  bool ok = false;
  std::string why;
  unsigned long long preloadBytes = 0;   // replies written as fast as the panel took them
  double preloadSeconds = 0;
  long paneUnitsAfterPreload = 0;
  double seconds = 0;                    // then the steady stream
  double rateBytesPerSecond = 0;
  double streamSeconds = 0;
  double achievedBytesPerSecond = 0;
  unsigned long long written = 0;        // every byte the unit wrote
  unsigned long long counted = 0;        // byte counts of the deliveries
  unsigned long long inOrder = 0;        // delivered text equal to the stream, in order
  long deliveries = 0;
  int clicks = 0;                        // "HDMI Vol+" clicked with the mouse (SendInput)
  int clicksOnWire = 0;                  // its command received by the unit
  Spread clickMs;                        // click -> its command at the unit
  Spread lastMinuteClickMs;              // of the clicks in the stream's last minute
  double lastLineMs = 0;                 // stream's last byte written -> its line in the pane
  double longestUiWaitMs = 0;            // a sent message's wait, as the reader's hand-over waits
  long unansweredProbes = 0;
  Spread insertionMs;                    // each EM_REPLACESEL into the pane during the stream
  long paneUnits = 0;
  long echoesInPane = 0;
  std::size_t paneTailUnits = 0;         // received text the pane holds
  bool paneIsStreamTail = false;         // ... the newest of the stream, in order
  ProcessSample start, end;              // as the stream starts, and as it ends
};
// After preloadBytes of replies, a stream at bytesPerSecond for seconds with
// a mouse click on "HDMI Vol+" every clickEveryMs.
ClicksUnderStream measureClicksUnderStream(const PanelPorts& ports, unsigned long long preloadBytes, double seconds,
                                           double bytesPerSecond, double clickEveryMs);
