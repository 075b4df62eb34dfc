#include "hangup_fault.h"

#include <algorithm>

#include "pty_line.h"
#include "sim.h"
#include "sim_log.h"

namespace {

// Closing the master discards what the slave has not read yet, so the last
// reply before a hang-up gets this long to be read.
constexpr Ms kHangupGrace{200};

void hangUp(Sim& sim) {
  HangupFault& fault = sim.hangup;
  removeLinkTo(sim.options.linkPath, sim.pty.slavePath);
  closePtyPort(sim.pty);
  dropOutput(sim, "hung up");
  fault.pending = false;
  fault.scheduled = false;
  fault.down = true;
  fault.comebackAt = Clock::now() + Ms(std::max(sim.options.comebackAfterMs, 0));
  logEvent(sim, "hung up after " + std::to_string(fault.commandsOnThisPty) + " commands");
}

}  // namespace

void countCommandTowardsHangup(Sim& sim) {
  if (sim.options.hangupAfter && ++sim.hangup.commandsOnThisPty >= sim.options.hangupAfter)
    sim.hangup.pending = true;
}

bool hangupWaiting(const Sim& sim, Clock::time_point& when) {
  const HangupFault& fault = sim.hangup;
  if (fault.scheduled) when = fault.hangupAt;
  else if (fault.down && sim.options.comebackAfterMs >= 0) when = fault.comebackAt;
  else return false;
  return true;
}

bool runHangupFault(Sim& sim) {
  HangupFault& fault = sim.hangup;
  if (fault.pending && sim.out.chunks.empty() && !fault.scheduled) {
    fault.scheduled = true;
    fault.hangupAt = Clock::now() + kHangupGrace;
  }
  if (fault.scheduled && Clock::now() >= fault.hangupAt) hangUp(sim);
  if (fault.down && sim.options.comebackAfterMs >= 0 && Clock::now() >= fault.comebackAt)
    return bringUpPty(sim);
  return true;
}
