#include "pty_line.h"

#include <poll.h>
#include <unistd.h>
#include <vector>

#include "serial_commands.h"
#include "sim.h"
#include "sim_log.h"

namespace {

// A pty master cannot wait for its slave to be reopened; it is asked again.
constexpr Ms kReopenCheck{20};

void lineClosed(Sim& sim) {
  sim.lineOpen = false;
  sim.reopenCheckAt = Clock::now() + kReopenCheck;
  sim.splitter.reset();
  dropOutput(sim, "nobody on the line");
  logEvent(sim, "line closed by the other end");
}

// Written before the link exists, so whoever opens it finds the bytes
// already waiting, as in an adapter's buffer. The pty keeps them until a
// program opens the slave, and its raw mode keeps them from echoing back.
void writeLeftover(Sim& sim) {
  const std::string& bytes = sim.options.leftover;
  sim.leftoverWritten = true;
  if (bytes.empty()) return;
  ssize_t written = write(sim.pty.master, bytes.data(), bytes.size());
  size_t taken = written > 0 ? size_t(written) : 0;
  logTraffic(sim, "leftover", bytes.substr(0, taken));
  if (taken < bytes.size())
    logRejected(sim, "leftover cut to " + std::to_string(taken) + " bytes; the pty took no more");
}

}  // namespace

bool bringUpPty(Sim& sim) {
  std::string error;
  if (!openPtyPort(sim.pty, error)) {
    logMessage(error);
    return false;
  }
  if (!sim.leftoverWritten) writeLeftover(sim);
  if (!pointLink(sim.options.linkPath, sim.pty.slavePath, error)) {
    logMessage(error);
    closePtyPort(sim.pty);
    return false;
  }
  sim.hangup.down = false;
  sim.lineOpen = true;
  sim.hangup.commandsOnThisPty = 0;
  sim.splitter.reset();
  logEvent(sim, "unit on " + sim.options.linkPath + " -> " + sim.pty.slavePath);
  return true;
}

void readPty(Sim& sim, short revents) {
  char buffer[4096];
  while (revents & POLLIN) {
    ssize_t count = read(sim.pty.master, buffer, sizeof buffer);
    if (count <= 0) break;
    if (sim.power.off) {
      logTraffic(sim, "ignored", std::string(buffer, size_t(count)));
      continue;
    }
    std::vector<SplitEvent> events;
    sim.splitter.feed(buffer, size_t(count), events);
    handleSerialEvents(sim, events);
  }
  if (revents & (POLLHUP | POLLERR)) lineClosed(sim);
}

void checkReopened(Sim& sim) {
  if (sim.hangup.down || sim.lineOpen || Clock::now() < sim.reopenCheckAt) return;
  pollfd fd = {sim.pty.master, POLLIN, 0};
  poll(&fd, 1, 0);
  if (fd.revents & POLLHUP) {
    sim.reopenCheckAt = Clock::now() + kReopenCheck;
    return;
  }
  makeRaw(sim.pty.master);
  sim.lineOpen = true;
  logEvent(sim, "line opened");
}

bool reopenCheckWaiting(const Sim& sim, Clock::time_point& when) {
  if (sim.hangup.down || sim.lineOpen) return false;
  when = sim.reopenCheckAt;
  return true;
}
