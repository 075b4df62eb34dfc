#include <windows.h>

#include <atomic>
#include <thread>

#include "protocol/control_state.h"
#include "tools/bench/bench_peer.h"
#include "tools/bench/panel_scenarios.h"
#include "tools/bench/rx_watch.h"
#include "tools/bench/ui_probe.h"
#include "tools/bench/unit_traffic.h"
#include "ui/main/main_window.h"

namespace {
struct PacedWriter {
  BenchPeer* peer;
  const std::string* stream;
  double bytesPerSecond;
  std::atomic<unsigned long long> written{0};
  std::atomic<bool> done{false};
  double startMs = 0;
  double endMs = 0;
};

// Writes the stream at the asked byte rate, in small steps as a UART would.
void writePaced(PacedWriter* w) {
  w->startMs = nowMs();
  std::size_t sent = 0;
  while (sent < w->stream->size()) {
    double due = (nowMs() - w->startMs) / 1000.0 * w->bytesPerSecond;
    std::size_t target = due > static_cast<double>(w->stream->size()) ? w->stream->size() : static_cast<std::size_t>(due);
    if (target > sent) {
      if (!writeAll(*w->peer, w->stream->data() + sent, target - sent)) break;
      sent = target;
      w->written = sent;
    } else {
      Sleep(2);
    }
  }
  w->endMs = nowMs();
  w->done = true;
}
}  // namespace

SustainedInput measureSustainedInput(const PanelPorts& ports, double seconds, double bytesPerSecond) {
  SustainedInput r;
  r.seconds = seconds;
  r.rateBytesPerSecond = bytesPerSecond;
  BenchPeer peer;
  if (!startPanelWithPeer(ports, peer, true, &r.why)) return r;
  resetRxWatch();
  long paneStart = paneLength();
  std::string stream = replyStream(static_cast<std::size_t>(seconds * bytesPerSecond));

  UiProbe probe;
  startUiProbe(probe, mainWindowState.mainWindow);
  PacedWriter writer{&peer, &stream, bytesPerSecond};
  std::thread writing(writePaced, &writer);
  pumpUntil([&] { return writer.done.load(); }, seconds * 1000 + 120000);
  // Then until every written byte has been handled, or nothing moves for 10 s.
  unsigned long long seen = 0;
  double lastMove = nowMs();
  pumpUntil([&] {
    if (rxWatch.textUnits != seen) {
      seen = rxWatch.textUnits;
      lastMove = nowMs();
    }
    return (writer.done && rxWatch.textUnits >= writer.written) || nowMs() - lastMove > 10000;
  }, 300000);
  writing.join();
  stopUiProbe(probe);
  closeBenchPeer(peer);

  r.written = writer.written;
  r.writeSeconds = (writer.endMs - writer.startMs) / 1000.0;
  r.counted = rxWatch.countedBytes;
  r.delivered = rxWatch.textUnits;
  r.deliveries = rxWatch.deliveries;
  r.drainMs = rxWatch.lastHandledAtMs - writer.endMs;
  r.longestUiWaitMs = probe.longestMs;
  r.probes = probe.probes;
  r.unansweredProbes = probe.unanswered;
  r.longestHandlingMs = rxWatch.longestHandlingMs;
  std::wstring pane = paneText();
  r.paneUnits = static_cast<long>(pane.size());
  std::wstring wide(stream.begin(), stream.begin() + static_cast<long>(r.written));
  r.shown = commonPrefix(receivedTextFrom(pane, static_cast<std::size_t>(paneStart)), wide);
  r.ok = true;
  return r;
}
