#include <windows.h>

#include <atomic>
#include <random>
#include <thread>

#include "protocol/command_set.h"
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
constexpr double kCheckEveryMs = 250;
constexpr double kWindowMs = 1000;
constexpr double kQueryEveryMs = 500;

struct NoiseWriter {
  UnitPeer* peer;
  double bytesPerSecond;
  std::atomic<bool> stop{false};
};
void writeNoise(NoiseWriter* w) {
  std::mt19937 random(2600);
  double start = nowMs();
  double sent = 0;
  while (!w->stop) {
    w->peer->readAvailable();
    double due = (nowMs() - start) / 1000.0 * w->bytesPerSecond;
    if (due - sent >= 64) {
      std::string noise = hostileBytes(random, static_cast<std::size_t>(due - sent));
      if (!w->peer->write(noise)) break;
      sent += static_cast<double>(noise.size());
    }
    Sleep(10);
  }
}

}  // namespace

HostileInput measureHostileInput(const PanelPorts& ports, double seconds, double bytesPerSecond) {
  HostileInput r;
  r.seconds = seconds;
  UnitPeer peer;
  RxRecorder rx;
  rx.keepEach = false;
  if (!ports.peer.empty() && !peer.open(ports.peer)) {
    r.why = "cannot open the peer port";
    return r;
  }
  if (!startConnectedPanel(ports, rx, &r.why)) return r;
  NoiseWriter writer{&peer, bytesPerSecond};
  std::thread writing;
  if (!ports.peer.empty()) writing = std::thread(writeNoise, &writer);
  UiProbe probe;
  startUiProbe(probe, mainWindowState.mainWindow);
  rx.reset();

  // The pane gathers received text and keeps a bounded scroll-back, so its
  // length says nothing of what came in a given second.
  PaneInsertions received({L"Rx>"});
  double start = nowMs();
  double nextCheck = start, nextQuery = start, windowEnd = start + kWindowMs;
  long windowInsertions = 0;
  while (nowMs() - start < seconds * 1000) {
    pumpFor(10);
    double now = nowMs();
    if (now >= nextCheck) {
      ++r.invariantChecks;
      if (!controlStateInvariantsHold(controlState)) ++r.invariantFailures;
      nextCheck += kCheckEveryMs;
    }
    if (now >= nextQuery) {
      readVideoInput();
      nextQuery += kQueryEveryMs;
    }
    if (now >= windowEnd) {
      ++r.windows;
      if (received.holding(0) > windowInsertions) ++r.windowsWithTraffic;
      windowInsertions = received.holding(0);
      windowEnd += kWindowMs;
    }
    if (!IsWindow(mainWindowState.mainWindow)) {
      r.windowKept = false;
      break;
    }
  }
  stopUiProbe(probe);
  writer.stop = true;
  if (writing.joinable()) writing.join();
  peer.close();
  ++r.invariantChecks;
  if (!controlStateInvariantsHold(controlState)) ++r.invariantFailures;
  r.counted = rx.countedBytes;
  r.deliveries = rx.handled;
  r.longestUiWaitMs = probe.longestMs;
  r.unansweredProbes = probe.unanswered;
  r.ok = r.windowKept && r.invariantFailures == 0;
  return r;
}
