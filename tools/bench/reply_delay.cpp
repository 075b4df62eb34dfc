#include <windows.h>

#include <random>

#include "protocol/command_set.h"
#include "tools/bench/bench_peer.h"
#include "tools/bench/panel_scenarios.h"
#include "tools/bench/rx_watch.h"
#include "tools/bench/unit_traffic.h"

namespace {
const std::string kRequest = "R SOURCE.";
}  // namespace

ReplyDelay measureReplyDelay(const PanelPorts& ports, int pairs) {
  ReplyDelay r;
  BenchPeer peer;
  if (!startPanelWithPeer(ports, peer, true, &r.why)) return r;
  rxWatch.keepTimes = true;
  std::vector<double> delays;
  std::mt19937 random(7);
  for (int i = 0; i < pairs; ++i) {
    long deliveriesBefore = rxWatch.deliveries;
    unsigned long long unitsBefore = rxWatch.textUnits;
    readVideoInput();   // the request, written and echoed by the UI thread
    std::string got;
    if (!pumpUntil([&] { return (got += readAvailable(peer)).size() >= kRequest.size(); }, 5000)) {
      r.why = "request " + std::to_string(i) + " did not reach the unit";
      break;
    }
    std::string reply = videoReplyLine(i);
    writeAll(peer, reply);
    double written = nowMs();
    if (!pumpUntil([&] { return rxWatch.textUnits >= unitsBefore + reply.size(); }, 5000)) {
      r.why = "reply " + std::to_string(i) + " was not delivered";
      break;
    }
    delays.push_back(rxWatch.lastHandledAtMs - written);
    if (rxWatch.deliveries - deliveriesBefore > 1) ++r.splitReplies;
    r.replyBytes = static_cast<int>(reply.size());
    // A random gap, so replies land at every phase of the reader's cycle.
    pumpMs(static_cast<double>(random() % 40));
  }
  closeBenchPeer(peer);
  r.pairs = static_cast<int>(delays.size());
  r.delayMs = spreadOf(delays);
  r.handlingMs = spreadOf(rxWatch.handlingMs);
  r.ok = r.why.empty() && r.pairs == pairs;
  return r;
}
