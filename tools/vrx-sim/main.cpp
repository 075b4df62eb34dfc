// vrx-sim: a VRX-2600 unit on a pseudo-terminal, for running the control
// panel and its tests without the hardware. The unit's behaviour lives in
// sim_core; the loop's parts move bytes between it, the pty, TCP and the
// clock; this file starts and ends them.
#include <cstdio>

#include "event_loop.h"
#include "pty_line.h"
#include "sim.h"
#include "sim_log.h"
#include "stop_signals.h"

namespace {

bool parseCommandLine(int argc, char** argv, SimOptions& options) {
  std::string error;
  if (!parseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    std::fprintf(stderr, "vrx-sim: %s\n%s", error.c_str(), simUsage().c_str());
    return false;
  }
  return true;
}

bool startUnit(Sim& sim) {
  sim.splitter = CommandSplitter(sim.options.commandCap);
  sim.noise.random.seed(sim.options.seed);
  if (!sim.options.transcriptPath.empty() &&
      !openTranscript(sim.transcript, sim.options.transcriptPath)) {
    logMessage("cannot write transcript " + sim.options.transcriptPath);
    return false;
  }
  startSwitchedOff(sim);
  return installStopSignals() && (!sim.options.tcp || listenTcp(sim)) && bringUpPty(sim);
}

void stopUnit(Sim& sim) {
  if (!sim.hangup.down) removeLinkTo(sim.options.linkPath, sim.pty.slavePath);
  closePtyPort(sim.pty);
  closeTcp(sim);
  logEvent(sim, "stopped");
  closeTranscript(sim.transcript);
}

}  // namespace

int main(int argc, char** argv) {
  Sim sim;
  if (!parseCommandLine(argc, argv, sim.options)) return 2;
  if (sim.options.help) {
    std::fputs(simUsage().c_str(), stdout);
    return 0;
  }
  if (!startUnit(sim)) return 1;
  int status = runLoop(sim);
  stopUnit(sim);
  return status;
}
