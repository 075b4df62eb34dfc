#include <windows.h>

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
#include "ui/main/main_window.h"

namespace {
struct PacedWriter {
  UnitPeer* peer;
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
    if (!writeDueBytes(*w->peer, *w->stream, w->startMs, w->bytesPerSecond, 0, &sent)) break;
    w->written = sent;
  }
  w->endMs = nowMs();
  w->done = true;
}
}  // namespace

SustainedInput measureSustainedInput(const PanelPorts& ports, double seconds, double bytesPerSecond) {
  SustainedInput r;
  r.seconds = seconds;
  r.rateBytesPerSecond = bytesPerSecond;
  UnitPeer peer;
  RxRecorder rx;
  if (!startPanelWithPeer(ports, peer, rx, true, &r.why)) return r;
  rx.reset();
  std::string stream = replyStream(static_cast<std::size_t>(seconds * bytesPerSecond));
  InOrder order{&stream};
  rx.onDelivery = [&](const RxDelivery& delivery) {
    order.take(delivery.text);
    rx.deliveries.clear();
  };

  UiProbe probe;
  startUiProbe(probe, mainWindowState.mainWindow);
  PacedWriter writer{&peer, &stream, bytesPerSecond};
  std::thread writing(writePaced, &writer);
  waitFor([&] { return writer.done.load(); }, seconds * 1000 + 120000);
  // Then until every written byte has been handled, or nothing moves for 10 s.
  unsigned long long seen = 0;
  double lastMove = nowMs();
  waitFor([&] {
    if (rx.textUnits != seen) {
      seen = rx.textUnits;
      lastMove = nowMs();
    }
    return (writer.done && rx.textUnits >= writer.written) || nowMs() - lastMove > 10000;
  }, 300000);
  writing.join();
  stopUiProbe(probe);
  peer.close();

  r.written = writer.written;
  r.writeSeconds = (writer.endMs - writer.startMs) / 1000.0;
  r.counted = rx.countedBytes;
  r.delivered = rx.textUnits;
  r.deliveries = rx.handled;
  r.drainMs = rx.lastHandledAtMs - writer.endMs;
  r.longestUiWaitMs = probe.longestMs;
  r.probes = probe.probes;
  r.unansweredProbes = probe.unanswered;
  r.longestHandlingMs = rx.longestHandlingMs;
  r.inOrder = order.matched;
  std::wstring pane;
  r.paneTailUnits = awaitStreamTailInPane(stream, r.written, &pane);
  r.paneUnits = static_cast<long>(pane.size());
  r.ok = true;
  return r;
}
