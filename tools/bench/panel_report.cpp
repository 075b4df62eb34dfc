#include "tools/bench/panel_report.h"

#include <cstdio>
#include <string>

namespace {
constexpr double kBaud = 115200;
constexpr double kBitsPerByte = 10;   // 8N1: start, 8 data, stop
constexpr double kReadMs = 2;         // one read under the link's time-outs
constexpr double kStopPollMs = 75;

void printSpread(const char* label, const Spread& s) {
  std::printf("    %-34s median %7.1f ms   p99 %7.1f ms   max %7.1f ms   (min %.1f, n %d)\n", label, s.median,
              s.p99, s.max, s.min, s.count);
}

void printFailure(bool ok, const std::string& why) {
  if (!ok) std::printf("    RESULT: FAILED%s%s\n", why.empty() ? "" : ": ", why.c_str());
}
}  // namespace

void printReplyDelay(const ReplyDelay& r) {
  double lineMs = r.replyBytes * kBitsPerByte / kBaud * 1000.0;
  double design = kReadMs + kStopPollMs + lineMs;
  std::printf("reply delay: %d request/reply pairs (\"R SOURCE.\" -> a %d-byte \">SOURCE name\" line that\n"
              "  moves the video input), in-process; from the peer's WriteFile of the reply's last byte\n"
              "  to the return of the main window's procedure for its WM_RX_TEXT (parsed, state stored,\n"
              "  frames repainted, echo appended); QueryPerformanceCounter; random 0-39 ms gaps\n",
              r.pairs, r.replyBytes);
  printSpread("delay", r.delayMs);
  printSpread("of which WM_RX_TEXT handling", r.handlingMs);
  std::printf("    design: read %.0f ms + stop poll %.0f ms + line time %.1f ms (%d bytes at 115200 8N1) = %.1f ms;\n"
              "      a reply that lands while a read is not pending waits up to one more cycle (%.0f ms),\n"
              "      so the design's range is %.1f to %.1f ms. (The pty has no line time; it is added to\n"
              "      the design's figure only.) Replies split over two deliveries: %d\n",
              kReadMs, kStopPollMs, lineMs, r.replyBytes, design, kReadMs + kStopPollMs, design,
              design + kReadMs + kStopPollMs, r.splitReplies);
  printFailure(r.ok, r.why);
}

void printSustainedInput(const SustainedInput& r) {
  std::printf("sustained input: the peer writes reply lines at %.0f bytes/s (115200 baud 8N1) for %.0f s,\n"
              "  in-process, output pane shown; a second thread sends WM_NULL to the main window every\n"
              "  10 ms (SendMessageTimeoutW) and keeps the longest wait\n",
              r.rateBytesPerSecond, r.seconds);
  std::printf("    bytes written by the peer          %llu in %.1f s (%.0f bytes/s achieved)\n", r.written,
              r.writeSeconds, r.writeSeconds > 0 ? r.written / r.writeSeconds : 0.0);
  std::printf("    bytes counted by WM_RX_TEXT        %llu (wParam sum, %ld deliveries, %.0f bytes each)\n",
              r.counted, r.deliveries, r.deliveries ? double(r.counted) / r.deliveries : 0.0);
  std::printf("    bytes delivered to the parser      %llu (text units)\n", r.delivered);
  std::printf("    bytes delivered in order           %llu   -> lost: %lld\n", r.inOrder,
              static_cast<long long>(r.written) - static_cast<long long>(r.inOrder));
  std::printf("    last byte written -> handled       %.0f ms\n", r.drainMs);
  std::printf("    longest UI-thread wait (probe)     %.1f ms over %ld probes, %ld unanswered in 5 s\n",
              r.longestUiWaitMs, r.probes, r.unansweredProbes);
  std::printf("    longest WM_RX_TEXT handling        %.1f ms; pane at the end %ld characters, %lld of them\n"
              "      the stream's newest, in order%s\n",
              r.longestHandlingMs, r.paneUnits, r.paneTailUnits,
              r.paneTailUnits < 0 ? " (NOT the stream's newest)" : "");
  printFailure(r.ok, r.why);
}

void printConnectCycles(const ConnectCycles& r) {
  std::printf("connect cycles: %d x connectToPort on the open port (close, open, configure, five queries\n"
              "  with 100 ms pauses), in-process, the unit sending a reply line every 150 ms throughout;\n"
              "  counted after 5 warm-up cycles, every 25 cycles and at the end: GetProcessHandleCount, this\n"
              "  process's entries in NtQuerySystemInformation's handle table, a Toolhelp thread snapshot\n",
              r.cycles);
  std::printf("    GetProcessHandleCount  before %ld  after %ld  peak %ld   growth %+ld%s\n", r.handlesBefore,
              r.handlesAfter, r.handlesPeak, r.handlesAfter - r.handlesBefore,
              r.handlesBefore == 0 ? " (Wine answers 0)" : "");
  std::printf("    handle table entries   before %ld  after %ld  peak %ld   growth %+ld\n", r.tableBefore, r.tableAfter,
              r.tablePeak, r.tableAfter - r.tableBefore);
  std::printf("    threads                before %ld  after %ld  peak %ld   growth %+ld\n", r.threadsBefore, r.threadsAfter,
              r.threadsPeak, r.threadsAfter - r.threadsBefore);
  printSpread("one connectToPort", r.connectMs);
  std::printf("    \"Closed\" lines %ld, \"Opened\" lines %ld (every close returned); bursts handled meanwhile %ld\n",
              r.closedLines, r.openedLines, r.deliveries);
  printFailure(r.ok, r.why);
}

void printUnplug(const Unplug& r, UnplugBy by) {
  std::printf("unplug: %d rounds; %s; the panel closes the dead port and says so,\n"
              "  the cable stays out 2 s more (a command is tried), then the operator connects again\n",
              r.rounds,
              by == UnplugBy::RigPair ? "the rig's pty pair is torn down and made again (socat ended)"
                                      : "vrx-sim hangs up after the 6th command and comes back later");
  std::printf("    loss shown by the panel itself     %d of %d\n", r.lossesShown, r.rounds);
  printSpread("cable out -> port closed, loss shown", r.lossShownMs);
  std::printf("    reconnected with replies           %d of %d\n", r.reconnected, r.rounds);
  std::printf("    window kept                        %s\n", r.windowKept ? "yes" : "NO");
  std::printf("    longest UI-thread wait, cable out  %.1f ms (%ld probes unanswered in 5 s)\n", r.longestUiWaitMs,
              r.unansweredProbes);
  printSpread("cable out -> replies again", r.outageMs);
  printSpread("connect -> first reply handled", r.firstReplyMs);
  printFailure(r.ok, r.why);
}

void printHostileInput(const HostileInput& r, const PanelPorts& ports) {
  std::printf("hostile input: %.0f s of line noise (%s), in-process, a query every 500 ms\n", r.seconds,
              ports.peer.empty() ? "vrx-sim --garbage" : "the bench's own noise");
  std::printf("    bytes counted by WM_RX_TEXT        %llu in %ld deliveries\n", r.counted, r.deliveries);
  std::printf("    state invariants                   %ld checks, %ld failed\n", r.invariantChecks,
              r.invariantFailures);
  std::printf("    pane showed new traffic            in %d of %d one-second windows\n", r.windowsWithTraffic,
              r.windows);
  std::printf("    longest UI-thread wait (probe)     %.1f ms (%ld unanswered in 5 s); window kept: %s\n",
              r.longestUiWaitMs, r.unansweredProbes, r.windowKept ? "yes" : "NO");
  printFailure(r.ok, r.why);
}

void printLongSession(const LongSession& r) {
  std::printf("long session: %llu bytes of reply lines written as fast as the link takes them, in-process,\n"
              "  pane shown; bursts as the reader delivers them; at each mark of received text: 5 direct\n"
              "  appendLine calls of a 1000-character line, one \"HDMI Vol+\" click (write + echo)\n",
              r.written);
  std::printf("    bytes delivered in order           %llu of %llu   -> lost: %lld\n", r.inOrder, r.written,
              static_cast<long long>(r.written) - static_cast<long long>(r.inOrder));
  std::printf("    deliveries %ld in %.1f s (%.0f bytes/s); pane at the end %ld characters, %lld of them the\n"
              "      stream's newest, in order%s\n",
              r.deliveries, r.seconds, r.seconds > 0 ? r.written / r.seconds : 0.0, r.paneUnits, r.paneTailUnits,
              r.paneTailUnits < 0 ? " (NOT the stream's newest)" : "");
  for (const PaneMark& m : r.marks) {
    std::printf("    at %4ld KB received (pane %ld characters): one append %.1f ms (median of 5, max %.1f);\n"
                "      WM_RX_TEXT handling median %.1f ms, max %.1f ms (n %d); a button click %.1f ms\n",
                m.receivedUnits / 1024, m.paneUnits, m.appendMs.median, m.appendMs.max, m.handlingMs.median,
                m.handlingMs.max, m.handlingMs.count, m.clickMs);
  }
  std::printf("    longest UI-thread wait (probe)     %.1f ms (the marks' own appends left out)\n", r.longestUiWaitMs);
  printFailure(r.ok, r.why);
}

void printLongPaste(const LongPaste& r) {
  std::printf("long paste: %d digits put on the clipboard and pasted (WM_PASTE) into an emptied edit,\n"
              "  in-process, connected, output pane shown; the paste's time on the UI thread with the edit's\n"
              "  paint after it (QueryPerformanceCounter), and a second thread's WM_NULL every 10 ms to the\n"
              "  edit's window\n",
              r.characters);
  struct Row {
    const char* label;
    const PastedInto& into;
  };
  for (const Row& row : {Row{"into the Send edit", r.sendEdit}, Row{"into an IP address octet edit", r.octetEdit}}) {
    printSpread(row.label, row.into.pasteMs);
    std::printf("      characters kept %d of %d (the edit holds %d); longest wait of the window %.1f ms (%ld\n"
                "      unanswered in 5 s)\n",
                row.into.kept, r.characters, row.into.capacity, row.into.longestUiWaitMs, row.into.unansweredProbes);
  }
  printFailure(r.ok, r.why);
}

void printPaneCosts(const PaneCosts& r) {
  std::printf("output pane costs: the edit's own steps in the real main window, pane shown, in-process; at\n"
              "  each size the pane is filled with reply lines (WM_SETTEXT, painted), then each step is\n"
              "  timed on the UI thread (QueryPerformanceCounter), 5 runs, the pane filled anew for each\n");
  for (const PaneCostsAt& at : r.at) {
    std::printf("  at %ld characters of pane text:\n", at.paneUnits);
    printSpread("EM_SETSEL 0, -1 (select all)", at.selectAllMs);
    printSpread("EM_SETSEL -1, -1", at.dropSelectionMs);
    printSpread("caret to the end by its length", at.caretAtEndMs);
    printSpread("EM_REPLACESEL of 1,000 units", at.replaceMs);
    printSpread("the paint after it", at.paintMs);
    printSpread("EM_REPLACESEL of 8,000 units", at.gatheredMs);
    printSpread("EM_REPLACESEL of a click's echo", at.echoMs);
    printSpread("oldest 50,000 taken off, painted", at.trimMs);
  }
  printFailure(r.ok, r.why);
}

namespace {
void printSample(const char* when, const ProcessSample& s) {
  std::printf("    %-22s working set %.1f MB, handle table entries %ld, threads %ld\n", when,
              s.workingSetBytes / 1048576.0, s.handles, s.threads);
}
}  // namespace

void printClicksUnderStream(const ClicksUnderStream& r) {
  std::printf("clicks under a stream: %llu bytes of reply lines written as fast as the panel takes them,\n"
              "  then %.0f s of reply lines at %.0f bytes/s (%.0f %% of 115200 8N1), in-process, pane shown;\n"
              "  \"HDMI Vol+\" clicked with the mouse (SendInput) every few seconds, timed from the click to\n"
              "  its command read by the unit's end; a second thread's WM_NULL every 10 ms waits as the\n"
              "  reader's hand-over does\n",
              r.preloadBytes, r.seconds, r.rateBytesPerSecond, r.rateBytesPerSecond * kBitsPerByte / kBaud * 100);
  std::printf("    preload taken in %.1f s; pane then %ld characters\n", r.preloadSeconds, r.paneUnitsAfterPreload);
  std::printf("    stream written in %.1f s (%.0f bytes/s achieved)\n", r.streamSeconds, r.achievedBytesPerSecond);
  std::printf("    bytes written %llu, counted by WM_RX_TEXT %llu, delivered in order %llu -> lost: %lld\n",
              r.written, r.counted, r.inOrder, static_cast<long long>(r.written) - static_cast<long long>(r.inOrder));
  std::printf("    clicks %d, their commands on the wire %d\n", r.clicks, r.clicksOnWire);
  printSpread("click -> on the wire", r.clickMs);
  printSpread("of them in the last minute", r.lastMinuteClickMs);
  std::printf("    stream's last byte -> its line in the pane  %.0f ms\n", r.lastLineMs);
  std::printf("    longest UI-thread wait (probe)     %.1f ms (%ld unanswered in 5 s); at this rate the\n"
              "      driver holds %.0f bytes meanwhile\n",
              r.longestUiWaitMs, r.unansweredProbes, r.longestUiWaitMs / 1000 * r.rateBytesPerSecond);
  printSpread("each insertion into the pane", r.insertionMs);
  std::printf("    pane at the end %ld characters: %zu of them the stream's newest, in order: %s; %ld click echoes\n",
              r.paneUnits, r.paneTailUnits, r.paneIsStreamTail ? "yes" : "NO", r.echoesInPane);
  printSample("at the stream's start", r.start);
  printSample("as it ends", r.end);
  printFailure(r.ok, r.why);
}
