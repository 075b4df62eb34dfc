#include "serial_commands.h"

#include <string>

#include "sim.h"
#include "sim_log.h"

namespace {

void applySerialCommand(Sim& sim, const SplitEvent& event) {
  logTraffic(sim, "rx", event.raw);
  if (event.text.empty()) return;  // a blank line
  std::vector<std::string> lines = handleCommand(sim.state, event.text);
  std::string reply;
  for (const std::string& line : lines) reply += line;
  if (sim.options.silent)
    writeTranscriptBytes(sim.transcript, "unsent", reply);
  else
    queueReply(sim, reply);
  countCommandTowardsHangup(sim);
}

}  // namespace

void handleSerialEvents(Sim& sim, const std::vector<SplitEvent>& events) {
  for (const SplitEvent& event : events) {
    if (event.kind == SplitEvent::Rejected) {
      logRejected(sim, event.text);
    } else if (sim.hangup.pending) {
      logTraffic(sim, "ignored", event.raw);  // arrived while hanging up
    } else if (event.kind == SplitEvent::Padding) {
      logTraffic(sim, "rx", event.raw);
    } else {
      applySerialCommand(sim, event);
    }
  }
}
