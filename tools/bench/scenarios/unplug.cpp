#include <windows.h>

#include "links/serial_link.h"
#include "protocol/command_set.h"
#include "protocol/control_state.h"
#include "tools/bench/scenarios/panel_scenarios.h"
#include "tools/bench/scenarios/scenario_steps.h"
#include "tools/bench/scenarios/unit_traffic.h"
#include "tools/bench/ui_probe.h"
#include "tools/panel-driver/panel_in_process.h"
#include "tools/panel-driver/rig_cable.h"
#include "tools/panel-driver/rx_recorder.h"
#include "tools/panel-driver/session_environment.h"
#include "tools/panel-driver/unit_peer.h"
#include "tools/panel-driver/waiting.h"
#include "ui/main/main_window.h"

namespace {
constexpr double kOutageMs = 2000;        // how long the cable stays out
constexpr double kPortBackLimitMs = 20000;
constexpr double kRetryMs = 250;

// The unit's first reply after a connect: the rig's peer reads the opening
// queries and answers one; the simulated unit answers them by itself.
bool awaitFirstReply(UnplugBy by, UnitPeer& peer, RxRecorder& rx, long deliveriesBefore, double connectedAt, double* firstReplyMs) {
  if (by == UnplugBy::RigPair) {
    std::string got;
    waitFor([&] { return (got += peer.readAvailable()).size() >= kOpeningQueries.size(); }, 5000);
    peer.write(videoReplyLine(3));
  }
  if (!waitFor([&] { return rx.handled > deliveriesBefore; }, 5000)) return false;
  *firstReplyMs = rx.lastHandledAtMs - connectedAt;
  return true;
}

// Connects until the port opens (a port that is still gone fails to open and
// connectToPort shows nothing), as an operator would try again.
bool reconnect(const PanelPorts& ports, UnplugBy by, UnitPeer& peer, RxRecorder& rx, int index, double* firstReplyMs) {
  if (by == UnplugBy::RigPair &&
      !waitFor([&] { return peer.open(ports.peer); }, kPortBackLimitMs)) {
    return false;
  }
  double limit = nowMs() + kPortBackLimitMs;
  long before = rx.handled;
  for (;;) {
    before = rx.handled;
    connectToPort(index);
    if (serialLink.portOpen) break;
    if (nowMs() > limit) return false;
    pumpFor(kRetryMs);
  }
  return awaitFirstReply(by, peer, rx, before, nowMs(), firstReplyMs);
}
}  // namespace

Unplug measureUnplug(const PanelPorts& ports, UnplugBy by, int rounds) {
  Unplug r;
  if (by == UnplugBy::RigPair && (rigFile(L"pair3.unplug").empty() || ports.program.empty())) {
    r.why = "the rig has no pair whose cable can be pulled (run inside a test session)";
    return r;
  }
  UnitPeer peer;
  RxRecorder rx;
  rx.keepEach = false;
  if (by == UnplugBy::RigPair && !peer.open(ports.peer)) {
    r.why = "cannot open the peer port";
    return r;
  }
  double connectedAt = nowMs();
  if (!startConnectedPanel(ports, rx, &r.why)) return r;
  int index = listedPortIndex(ports.program);
  double firstReply = 0;
  std::vector<double> firstReplies, outages, lossesShown;
  if (!awaitFirstReply(by, peer, rx, 0, connectedAt, &firstReply)) {
    r.why = "the first connection brought no reply";
    return r;
  }
  UiProbe probe;
  startUiProbe(probe, mainWindowState.mainWindow);
  double longest = 0;
  for (int round = 0; round < rounds; ++round) {
    double pulled = nowMs();
    if (by == UnplugBy::RigPair) {
      peer.close();
      if (!pullUnplugCable(kPortBackLimitMs)) {
        r.why = "the rig did not bring the pair back";
        break;
      }
    } else {
      readVideoInput();   // the command after which the simulated unit hangs up
    }
    // The panel sees the loss by itself: it closes the port and says so (the
    // bench presses the box). A command meanwhile goes nowhere.
    if (waitFor([] { return !serialLink.portOpen; }, kPortBackLimitMs)) {
      lossesShown.push_back(nowMs() - pulled);
      ++r.lossesShown;
    }
    resetUiProbe(probe);
    pumpFor(kOutageMs / 2);
    readVideoInput();
    pumpFor(kOutageMs / 2);
    if (probe.longestMs > longest) longest = probe.longestMs;
    r.unansweredProbes += probe.unanswered;
    if (!IsWindow(mainWindowState.mainWindow) || !IsWindowVisible(mainWindowState.mainWindow)) r.windowKept = false;
    if (!reconnect(ports, by, peer, rx, index, &firstReply)) {
      r.why = "round " + std::to_string(round) + ": no reply after reconnecting";
      break;
    }
    outages.push_back(nowMs() - pulled);
    firstReplies.push_back(firstReply);
    ++r.reconnected;
  }
  stopUiProbe(probe);
  peer.close();
  r.rounds = rounds;
  r.longestUiWaitMs = longest;
  r.lossShownMs = spreadOf(lossesShown);
  r.outageMs = spreadOf(outages);
  r.firstReplyMs = spreadOf(firstReplies);
  r.ok = r.why.empty() && r.reconnected == rounds && r.lossesShown == rounds && r.windowKept;
  return r;
}
