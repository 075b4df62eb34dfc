#include "event_loop.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <vector>

#include "pty_line.h"
#include "sim.h"
#include "sim_log.h"
#include "stop_signals.h"

namespace {

// A timer waiting for something the loop does not expect still wakes it up.
constexpr int kIdleWakeMs = 1000;

void wakeBy(int& timeout, Clock::time_point when, Clock::time_point now) {
  int ms = when <= now ? 0 : int(std::chrono::duration_cast<Ms>(when - now).count()) + 1;
  timeout = std::min(timeout, ms);
}

int pollTimeout(const Sim& sim) {
  Clock::time_point now = Clock::now();
  Clock::time_point when;
  int timeout = kIdleWakeMs;
  // Due output waits for POLLOUT instead, or this would spin on a full pty.
  if (replyWaiting(sim, when) && when > now) wakeBy(timeout, when, now);
  if (sim.options.garbage) wakeBy(timeout, sim.noise.nextTick, now);
  if (reopenCheckWaiting(sim, when)) wakeBy(timeout, when, now);
  if (hangupWaiting(sim, when)) wakeBy(timeout, when, now);
  if (switchOnWaiting(sim, when)) wakeBy(timeout, when, now);
  return timeout;
}

struct PollSet {
  std::vector<pollfd> fds;
  int pty = -1;
  size_t firstTcp = 0;
};

PollSet buildPollSet(const Sim& sim) {
  PollSet set;
  set.fds.push_back({stopSignalFd(), POLLIN, 0});
  if (!sim.hangup.down && sim.lineOpen) {
    set.pty = int(set.fds.size());
    set.fds.push_back({sim.pty.master, short(POLLIN | (wantsToWrite(sim) ? POLLOUT : 0)), 0});
  }
  set.firstTcp = set.fds.size();
  addTcpToPoll(sim, set.fds);
  return set;
}

// Returns false when the pty cannot be brought back.
bool runTimers(Sim& sim) {
  switchOnWhenDue(sim);
  checkReopened(sim);
  makeNoise(sim);
  writeDueOutput(sim);
  return runHangupFault(sim);
}

}  // namespace

int runLoop(Sim& sim) {
  for (;;) {
    PollSet set = buildPollSet(sim);
    if (poll(set.fds.data(), set.fds.size(), pollTimeout(sim)) < 0 && errno != EINTR) {
      logMessage(std::string("poll: ") + std::strerror(errno));
      return 1;
    }
    if (set.fds[0].revents & POLLIN) return 0;  // SIGTERM or SIGINT
    if (set.pty >= 0) readPty(sim, set.fds[size_t(set.pty)].revents);
    serviceTcp(sim, set.fds, set.firstTcp);
    if (!runTimers(sim)) return 1;
  }
}
