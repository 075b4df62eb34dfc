#include <windows.h>

#include <random>

#include "protocol/command_set.h"
#include "tools/bench/scenarios/panel_scenarios.h"
#include "tools/bench/scenarios/scenario_steps.h"
#include "tools/bench/scenarios/unit_traffic.h"
#include "tools/panel-driver/panel_in_process.h"
#include "tools/panel-driver/rx_recorder.h"
#include "tools/panel-driver/unit_peer.h"
#include "tools/panel-driver/waiting.h"

namespace {
const std::string kRequest = "R SOURCE.";
}  // namespace

ReplyDelay measureReplyDelay(const PanelPorts& ports, int pairs) {
  ReplyDelay r;
  UnitPeer peer;
  RxRecorder rx;
  rx.keepEach = false;
  if (!startPanelWithPeer(ports, peer, rx, true, &r.why)) return r;
  rx.keepEach = true;
  std::vector<double> delays;
  std::mt19937 random(7);
  for (int i = 0; i < pairs; ++i) {
    long deliveriesBefore = rx.handled;
    unsigned long long unitsBefore = rx.textUnits;
    readVideoInput();   // the request, written and echoed by the UI thread
    std::string got;
    if (!waitFor([&] { return (got += peer.readAvailable()).size() >= kRequest.size(); }, 5000)) {
      r.why = "request " + std::to_string(i) + " did not reach the unit";
      break;
    }
    std::string reply = videoReplyLine(i);
    peer.write(reply);
    double written = nowMs();
    if (!waitFor([&] { return rx.textUnits >= unitsBefore + reply.size(); }, 5000)) {
      r.why = "reply " + std::to_string(i) + " was not delivered";
      break;
    }
    delays.push_back(rx.lastHandledAtMs - written);
    if (rx.handled - deliveriesBefore > 1) ++r.splitReplies;
    r.replyBytes = static_cast<int>(reply.size());
    // A random gap, so replies land at every phase of the reader's cycle.
    pumpFor(static_cast<double>(random() % 40));
  }
  peer.close();
  r.pairs = static_cast<int>(delays.size());
  r.delayMs = spreadOf(delays);
  std::vector<double> handling;
  for (const RxDelivery& delivery : rx.deliveries) handling.push_back(delivery.handlingMs);
  r.handlingMs = spreadOf(handling);
  r.ok = r.why.empty() && r.pairs == pairs;
  return r;
}
