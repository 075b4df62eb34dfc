#include "power_switch.h"

#include "sim.h"
#include "sim_log.h"

void startSwitchedOff(Sim& sim) {
  if (sim.options.onAfterMs <= 0) return;
  sim.power.off = true;
  sim.power.onAt = Clock::now() + Ms(sim.options.onAfterMs);
  logEvent(sim, "switched off, on in " + std::to_string(sim.options.onAfterMs) + " ms");
}

bool switchOnWaiting(const Sim& sim, Clock::time_point& when) {
  if (!sim.power.off) return false;
  when = sim.power.onAt;
  return true;
}

void switchOnWhenDue(Sim& sim) {
  if (!sim.power.off || Clock::now() < sim.power.onAt) return;
  sim.power.off = false;
  logEvent(sim, "switched on");
}
