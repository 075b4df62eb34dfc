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
  std::printf("    bytes shown in the pane, in order  %llu   -> lost: %lld\n", r.shown,
              static_cast<long long>(r.written) - static_cast<long long>(r.shown));
  std::printf("    last byte written -> handled       %.0f ms\n", r.drainMs);
  std::printf("    longest UI-thread wait (probe)     %.1f ms over %ld probes, %ld unanswered in 5 s\n",
              r.longestUiWaitMs, r.probes, r.unansweredProbes);
  std::printf("    longest WM_RX_TEXT handling        %.1f ms; pane at the end %ld characters\n",
              r.longestHandlingMs, r.paneUnits);
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
              "  pane shown; bursts as the reader delivers them; at each mark of pane text: 5 direct\n"
              "  appendLine calls of a 1000-character line, one \"HDMI Vol+\" click (write + echo)\n",
              r.written);
  std::printf("    bytes shown in the pane, in order  %llu of %llu   -> lost: %lld\n", r.shown, r.written,
              static_cast<long long>(r.written) - static_cast<long long>(r.shown));
  std::printf("    deliveries %ld in %.1f s (%.0f bytes/s); pane at the end %ld characters\n", r.deliveries, r.seconds,
              r.seconds > 0 ? r.written / r.seconds : 0.0, r.paneUnits);
  for (const PaneMark& m : r.marks) {
    std::printf("    at %4ld KB of pane text: one append %.1f ms (median of 5, max %.1f); WM_RX_TEXT\n"
                "      handling median %.1f ms, max %.1f ms (n %d); a button click %.1f ms\n",
                m.paneUnits / 1024, m.appendMs.median, m.appendMs.max, m.handlingMs.median, m.handlingMs.max,
                m.handlingMs.count, m.clickMs);
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
