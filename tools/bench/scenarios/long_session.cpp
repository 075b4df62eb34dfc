#include <windows.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "protocol/control_state.h"
#include "tools/bench/scenarios/panel_scenarios.h"
#include "tools/bench/scenarios/scenario_steps.h"
#include "tools/bench/scenarios/unit_traffic.h"
#include "tools/bench/ui_probe.h"
#include "tools/panel-driver/panel_in_process.h"
#include "tools/panel-driver/rx_recorder.h"
#include "tools/panel-driver/unit_peer.h"
#include "tools/panel-driver/waiting.h"
#include "ui/ids.h"
#include "ui/main/console_pane.h"
#include "ui/main/main_window.h"

namespace {
constexpr int kAppendsPerMark = 5;
constexpr long kMarkSpanUnits = 20 * 1024;   // bursts counted as "at" a mark
constexpr std::size_t kWriteStep = 4096;
constexpr std::size_t kProbeLineUnits = 1000;
constexpr double kSettleMs = 50;   // lets a probe sent during a mark come back

struct FastWriter {
  UnitPeer* peer;
  const std::string* stream;
  std::atomic<unsigned long long> written{0};
  std::atomic<bool> done{false};
};
// As fast as the line takes it: a slow reader holds the writer back.
void writeFast(FastWriter* w) {
  for (std::size_t at = 0; at < w->stream->size(); at += kWriteStep) {
    std::size_t n = std::min(kWriteStep, w->stream->size() - at);
    if (!w->peer->write(w->stream->data() + at, n)) break;
    w->written = at + n;
  }
  w->done = true;
}

// The bench's own lines at a mark: direct appends and one button click (its
// System and Tx lines are taken out again before the pane is compared).
PaneMark measureAtMark(long mark) {
  PaneMark m;
  m.receivedUnits = mark;
  std::wstring line(kProbeLineUnits - 2, L'=');
  line += L"\r\n";
  std::vector<double> appends;
  for (int i = 0; i < kAppendsPerMark; ++i) {
    double start = nowMs();
    ConsolePane::appendLine(line.c_str(), ConsoleLineKind::System);
    appends.push_back(nowMs() - start);
  }
  m.appendMs = spreadOf(appends);
  m.paneUnits = paneLength();
  double start = nowMs();
  SendMessageW(mainWindowState.mainWindow, WM_COMMAND, MAKEWPARAM(IDC_HDMI_VOL_UP, 0),
               reinterpret_cast<LPARAM>(mainWindowState.hdmiVolUpButton));
  m.clickMs = nowMs() - start;
  return m;
}
}  // namespace

LongSession measureLongSession(const PanelPorts& ports, unsigned long long bytes, const std::vector<long>& marks) {
  LongSession r;
  UnitPeer peer;
  RxRecorder rx;
  if (!startPanelWithPeer(ports, peer, rx, true, &r.why)) return r;
  rx.reset();
  // Each burst's handling and the text received before it.
  std::vector<double> handlingMs;
  std::vector<unsigned long long> receivedBefore;
  std::string stream = replyStream(static_cast<std::size_t>(bytes));
  InOrder order{&stream};
  rx.onDelivery = [&](const RxDelivery& delivery) {
    handlingMs.push_back(delivery.handlingMs);
    receivedBefore.push_back(order.matched);
    order.take(delivery.text);
    rx.deliveries.clear();
  };

  UiProbe probe;
  startUiProbe(probe, mainWindowState.mainWindow);
  FastWriter writer{&peer, &stream};
  double start = nowMs();
  std::thread writing(writeFast, &writer);
  std::size_t nextMark = 0;
  double longestOutsideMarks = 0;
  unsigned long long seen = 0;
  double lastMove = nowMs();
  waitFor([&] {
    if (nextMark < marks.size() && rx.textUnits >= static_cast<unsigned long long>(marks[nextMark])) {
      // The marks' own appends hold the UI thread on purpose; the probe's
      // figure is for the traffic alone.
      longestOutsideMarks = std::max(longestOutsideMarks, probe.longestMs.load());
      r.marks.push_back(measureAtMark(marks[nextMark]));
      ++nextMark;
      pumpFor(kSettleMs);
      resetUiProbe(probe);
    }
    if (rx.textUnits != seen) {
      seen = rx.textUnits;
      lastMove = nowMs();
    }
    bool allIn = writer.done && rx.textUnits >= writer.written;
    return (allIn && nextMark >= marks.size()) || (allIn && nowMs() - lastMove > 2000) ||
           nowMs() - lastMove > 15000;
  }, 1800000);
  r.seconds = (nowMs() - start) / 1000.0;
  writing.join();
  stopUiProbe(probe);
  peer.close();

  r.written = writer.written;
  r.deliveries = rx.handled;
  r.longestUiWaitMs = std::max(longestOutsideMarks, probe.longestMs.load());
  r.inOrder = order.matched;
  std::wstring pane;
  r.paneTailUnits = awaitStreamTailInPane(stream, r.written, &pane);
  r.paneUnits = static_cast<long>(pane.size());
  for (PaneMark& mark : r.marks) {
    std::vector<double> atMark;
    for (std::size_t i = 0; i < handlingMs.size(); ++i) {
      unsigned long long before = receivedBefore[i];
      if (before >= static_cast<unsigned long long>(mark.receivedUnits) &&
          before < static_cast<unsigned long long>(mark.receivedUnits + kMarkSpanUnits)) {
        atMark.push_back(handlingMs[i]);
      }
    }
    mark.handlingMs = spreadOf(atMark);
  }
  // A shorter run than a mark cannot reach it; every mark within it must be met.
  std::size_t reachable = 0;
  for (long mark : marks) reachable += static_cast<unsigned long long>(mark) <= bytes ? 1 : 0;
  r.ok = r.inOrder == r.written && r.paneTailUnits > 0 && r.marks.size() >= reachable;
  return r;
}
