// vrx-sim: a VRX-2600 unit on a pseudo-terminal, for running the control
// panel and its tests without the hardware. The unit's behaviour lives in
// sim_core; this file moves bytes between it, the pty, TCP and the clock.
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <random>
#include <sys/socket.h>
#include <unistd.h>

#include "byte_escape.h"
#include "command_splitter.h"
#include "garbage.h"
#include "pty_port.h"
#include "sim_core.h"
#include "sim_options.h"
#include "transcript.h"

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::milliseconds;

// Bounds on what piles up when nobody reads the line.
constexpr size_t kMaxQueuedBytes = 64 * 1024;
constexpr size_t kMaxNoiseBacklog = 4096;
constexpr size_t kMaxTcpClients = 8;
constexpr Ms kNoiseTick{50};
// A pty master cannot wait for its slave to be reopened; it is asked again.
constexpr Ms kReopenCheck{20};
// Closing the master discards what the slave has not read yet, so the last
// reply before a hang-up gets this long to be read.
constexpr Ms kHangupGrace{200};

struct OutChunk {
  std::string bytes;
  Clock::time_point due;
};

struct TcpClient {
  int fd;
  CommandSplitter splitter;
};

struct Sim {
  SimOptions options;
  SimState state = factorySimState();
  Transcript transcript;
  PtyPort pty;
  CommandSplitter splitter;
  bool lineOpen = true;          // false while no program holds the slave open
  Clock::time_point reopenCheckAt;
  bool down = false;             // hung up on purpose
  Clock::time_point comebackAt;
  int commandsOnThisPty = 0;
  bool hangupPending = false;
  bool hangupScheduled = false;  // the last reply is out; waiting out the grace
  Clock::time_point hangupAt;
  std::deque<OutChunk> out;
  size_t outBytes = 0;
  bool frontStarted = false;     // the first chunk went out in part
  Clock::time_point replyFree;   // a new reply starts no earlier, so replies keep their order
  std::string noise;
  double noiseCredit = 0;
  Clock::time_point noiseAt;
  std::mt19937 random;
  int listenFd = -1;
  std::vector<TcpClient> tcpClients;
};

int gSignalPipe[2] = {-1, -1};

void onSignal(int) {
  char byte = 0;
  ssize_t ignored = write(gSignalPipe[1], &byte, 1);
  (void)ignored;
}

void logMessage(const std::string& text) { std::fprintf(stderr, "vrx-sim: %s\n", text.c_str()); }

void logEvent(Sim& sim, const std::string& text) {
  logMessage(text);
  writeTranscriptNote(sim.transcript, "event", text);
}

void logRejected(Sim& sim, const std::string& text) {
  logMessage("rejected: " + text);
  writeTranscriptNote(sim.transcript, "rejected", text);
}

void logTraffic(Sim& sim, const char* kind, const std::string& bytes) {
  writeTranscriptBytes(sim.transcript, kind, bytes);
  if (sim.options.verbose) logMessage(std::string(kind) + " " + escapeBytes(bytes));
}

// --- Output ---------------------------------------------------------------

void queueReply(Sim& sim, const std::string& bytes) {
  Clock::time_point start = std::max(Clock::now() + Ms(sim.options.replyDelayMs), sim.replyFree);
  size_t step = sim.options.chunkBytes ? sim.options.chunkBytes : bytes.size();
  Clock::time_point due = start;
  for (size_t at = 0; at < bytes.size(); at += step) {
    std::string piece = bytes.substr(at, step);
    if (sim.outBytes + piece.size() > kMaxQueuedBytes) {
      logRejected(sim, "reply dropped, " + std::to_string(sim.outBytes) +
                           " bytes already waiting for the line");
      return;
    }
    if (at > 0) due += Ms(sim.options.chunkPauseMs);
    sim.out.push_back({piece, due});
    sim.outBytes += piece.size();
  }
  sim.replyFree = due;
}

bool replyDue(const Sim& sim, Clock::time_point now) {
  return !sim.out.empty() && sim.out.front().due <= now;
}

bool wantsToWrite(const Sim& sim) {
  return replyDue(sim, Clock::now()) || (!sim.noise.empty() && !sim.frontStarted);
}

// Writes what it can; returns false when the pty takes no more for now.
bool writeBytes(Sim& sim, std::string& bytes, const char* kind) {
  ssize_t written = write(sim.pty.master, bytes.data(), bytes.size());
  if (written <= 0) return false;
  logTraffic(sim, kind, bytes.substr(0, size_t(written)));
  bytes.erase(0, size_t(written));
  return true;
}

void writeDueOutput(Sim& sim) {
  if (sim.down || !sim.lineOpen) return;
  // Noise goes between reply chunks, never into the middle of one.
  if (!sim.noise.empty() && !sim.frontStarted && !writeBytes(sim, sim.noise, "noise")) return;
  while (replyDue(sim, Clock::now())) {
    OutChunk& front = sim.out.front();
    size_t before = front.bytes.size();
    bool progressed = writeBytes(sim, front.bytes, "tx");
    sim.outBytes -= before - front.bytes.size();
    if (!front.bytes.empty()) {
      sim.frontStarted = sim.frontStarted || progressed;
      return;
    }
    sim.out.pop_front();
    sim.frontStarted = false;
  }
}

void dropOutput(Sim& sim, const char* why) {
  size_t dropped = sim.outBytes + sim.noise.size();
  if (dropped) writeTranscriptNote(sim.transcript, "event",
                                   "dropped " + std::to_string(dropped) + " bytes, " + why);
  sim.out.clear();
  sim.outBytes = 0;
  sim.frontStarted = false;
  sim.noise.clear();
}

void makeNoise(Sim& sim) {
  Clock::time_point now = Clock::now();
  if (!sim.options.garbage || now < sim.noiseAt) return;
  sim.noiseAt = now + kNoiseTick;
  if (sim.down || !sim.lineOpen) return;
  sim.noiseCredit += sim.options.garbageRate * (kNoiseTick.count() / 1000.0);
  // Credit may go negative after a long piece; the average rate still holds.
  if (sim.noiseCredit < 1 || sim.noise.size() > kMaxNoiseBacklog) return;
  std::string piece = makeGarbage(sim.random, size_t(sim.noiseCredit));
  sim.noiseCredit -= double(piece.size());
  sim.noise += piece;
}

// --- The pty --------------------------------------------------------------

bool bringUpPty(Sim& sim) {
  std::string error;
  if (!openPtyPort(sim.pty, error) ||
      !pointLink(sim.options.linkPath, sim.pty.slavePath, error)) {
    logMessage(error);
    closePtyPort(sim.pty);
    return false;
  }
  sim.down = false;
  sim.lineOpen = true;
  sim.commandsOnThisPty = 0;
  sim.splitter.reset();
  logEvent(sim, "unit on " + sim.options.linkPath + " -> " + sim.pty.slavePath);
  return true;
}

void hangUp(Sim& sim) {
  removeLinkTo(sim.options.linkPath, sim.pty.slavePath);
  closePtyPort(sim.pty);
  dropOutput(sim, "hung up");
  sim.hangupPending = false;
  sim.hangupScheduled = false;
  sim.down = true;
  sim.comebackAt = Clock::now() + Ms(std::max(sim.options.comebackAfterMs, 0));
  logEvent(sim, "hung up after " + std::to_string(sim.commandsOnThisPty) + " commands");
}

void applyPtyCommand(Sim& sim, const SplitEvent& event) {
  logTraffic(sim, "rx", event.raw);
  if (event.text.empty()) return;  // a blank line
  std::vector<std::string> lines = handleCommand(sim.state, event.text);
  std::string reply;
  for (const std::string& line : lines) reply += line;
  if (sim.options.silent)
    writeTranscriptBytes(sim.transcript, "unsent", reply);
  else
    queueReply(sim, reply);
  if (sim.options.hangupAfter && ++sim.commandsOnThisPty >= sim.options.hangupAfter)
    sim.hangupPending = true;
}

void handlePtyEvents(Sim& sim, const std::vector<SplitEvent>& events) {
  for (const SplitEvent& event : events) {
    if (event.kind == SplitEvent::Rejected) {
      logRejected(sim, event.text);
    } else if (sim.hangupPending) {
      logTraffic(sim, "ignored", event.raw);  // arrived while hanging up
    } else if (event.kind == SplitEvent::Padding) {
      logTraffic(sim, "rx", event.raw);
    } else {
      applyPtyCommand(sim, event);
    }
  }
}

void lineClosed(Sim& sim) {
  sim.lineOpen = false;
  sim.reopenCheckAt = Clock::now() + kReopenCheck;
  sim.splitter.reset();
  dropOutput(sim, "nobody on the line");
  logEvent(sim, "line closed by the other end");
}

void readPty(Sim& sim, short revents) {
  char buffer[4096];
  while (revents & POLLIN) {
    ssize_t count = read(sim.pty.master, buffer, sizeof buffer);
    if (count <= 0) break;
    std::vector<SplitEvent> events;
    sim.splitter.feed(buffer, size_t(count), events);
    handlePtyEvents(sim, events);
  }
  if (revents & (POLLHUP | POLLERR)) lineClosed(sim);
}

void checkReopened(Sim& sim) {
  if (sim.down || sim.lineOpen || Clock::now() < sim.reopenCheckAt) return;
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

// --- TCP ------------------------------------------------------------------

bool listenTcp(Sim& sim) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  int yes = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(uint16_t(sim.options.tcpPort));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(fd, 4) != 0) {
    logMessage("cannot listen on 127.0.0.1:" + std::to_string(sim.options.tcpPort) + ": " +
               std::strerror(errno));
    if (fd >= 0) close(fd);
    return false;
  }
  sim.listenFd = fd;
  logEvent(sim, "taking commands on 127.0.0.1:" + std::to_string(sim.options.tcpPort));
  return true;
}

void acceptTcp(Sim& sim) {
  int fd = accept4(sim.listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
  if (fd < 0) return;
  if (sim.tcpClients.size() >= kMaxTcpClients) {
    logRejected(sim, "TCP connection, already " + std::to_string(kMaxTcpClients) + " open");
    close(fd);
    return;
  }
  sim.tcpClients.push_back({fd, CommandSplitter(sim.options.commandCap)});
  logEvent(sim, "TCP client connected");
}

void handleTcpEvents(Sim& sim, const std::vector<SplitEvent>& events) {
  for (const SplitEvent& event : events) {
    if (event.kind == SplitEvent::Rejected) {
      logRejected(sim, "TCP: " + event.text);
      continue;
    }
    logTraffic(sim, "tcp", event.raw);
    // The TCP side only takes commands; the replies go nowhere.
    if (event.kind == SplitEvent::Command) handleCommand(sim.state, event.text);
  }
}

// Returns false once the client has gone.
bool readTcp(Sim& sim, TcpClient& client) {
  char buffer[4096];
  for (;;) {
    ssize_t count = read(client.fd, buffer, sizeof buffer);
    if (count < 0 && (errno == EAGAIN || errno == EINTR)) return true;
    if (count <= 0) return false;
    std::vector<SplitEvent> events;
    client.splitter.feed(buffer, size_t(count), events);
    handleTcpEvents(sim, events);
  }
}

void closeTcp(Sim& sim) {
  for (TcpClient& client : sim.tcpClients) close(client.fd);
  sim.tcpClients.clear();
  if (sim.listenFd >= 0) close(sim.listenFd);
  sim.listenFd = -1;
}

// --- The loop -------------------------------------------------------------

int msUntil(Clock::time_point when, Clock::time_point now) {
  if (when <= now) return 0;
  return int(std::chrono::duration_cast<Ms>(when - now).count()) + 1;
}

int pollTimeout(const Sim& sim) {
  Clock::time_point now = Clock::now();
  int timeout = 1000;
  // Due output waits for POLLOUT instead, or this would spin on a full pty.
  if (!sim.out.empty() && sim.out.front().due > now)
    timeout = std::min(timeout, msUntil(sim.out.front().due, now));
  if (sim.hangupScheduled) timeout = std::min(timeout, msUntil(sim.hangupAt, now));
  if (sim.options.garbage) timeout = std::min(timeout, msUntil(sim.noiseAt, now));
  if (!sim.down && !sim.lineOpen) timeout = std::min(timeout, msUntil(sim.reopenCheckAt, now));
  if (sim.down && sim.options.comebackAfterMs >= 0)
    timeout = std::min(timeout, msUntil(sim.comebackAt, now));
  return timeout;
}

struct PollSet {
  std::vector<pollfd> fds;
  int pty = -1;
  int listener = -1;
  size_t firstClient = 0;
};

PollSet buildPollSet(const Sim& sim) {
  PollSet set;
  set.fds.push_back({gSignalPipe[0], POLLIN, 0});
  if (!sim.down && sim.lineOpen) {
    set.pty = int(set.fds.size());
    set.fds.push_back({sim.pty.master, short(POLLIN | (wantsToWrite(sim) ? POLLOUT : 0)), 0});
  }
  if (sim.listenFd >= 0) {
    set.listener = int(set.fds.size());
    set.fds.push_back({sim.listenFd, POLLIN, 0});
  }
  set.firstClient = set.fds.size();
  for (const TcpClient& client : sim.tcpClients) set.fds.push_back({client.fd, POLLIN, 0});
  return set;
}

void serviceTcp(Sim& sim, const PollSet& set) {
  for (size_t i = sim.tcpClients.size(); i-- > 0;) {
    if (!set.fds[set.firstClient + i].revents) continue;
    if (readTcp(sim, sim.tcpClients[i])) continue;
    close(sim.tcpClients[i].fd);
    sim.tcpClients.erase(sim.tcpClients.begin() + long(i));
    logEvent(sim, "TCP client gone");
  }
  if (set.listener >= 0 && (set.fds[size_t(set.listener)].revents & POLLIN)) acceptTcp(sim);
}

// Returns false when the pty cannot be brought back.
bool runTimers(Sim& sim) {
  checkReopened(sim);
  makeNoise(sim);
  writeDueOutput(sim);
  if (sim.hangupPending && sim.out.empty() && !sim.hangupScheduled) {
    sim.hangupScheduled = true;
    sim.hangupAt = Clock::now() + kHangupGrace;
  }
  if (sim.hangupScheduled && Clock::now() >= sim.hangupAt) hangUp(sim);
  if (sim.down && sim.options.comebackAfterMs >= 0 && Clock::now() >= sim.comebackAt)
    return bringUpPty(sim);
  return true;
}

int runLoop(Sim& sim) {
  for (;;) {
    PollSet set = buildPollSet(sim);
    if (poll(set.fds.data(), set.fds.size(), pollTimeout(sim)) < 0 && errno != EINTR) {
      logMessage(std::string("poll: ") + std::strerror(errno));
      return 1;
    }
    if (set.fds[0].revents & POLLIN) return 0;  // SIGTERM or SIGINT
    if (set.pty >= 0) readPty(sim, set.fds[size_t(set.pty)].revents);
    serviceTcp(sim, set);
    if (!runTimers(sim)) return 1;
  }
}

bool installSignals() {
  if (pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  struct sigaction action{};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);
  return true;
}

bool parseCommandLine(int argc, char** argv, SimOptions& options) {
  std::string error;
  if (!parseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    std::fprintf(stderr, "vrx-sim: %s\n%s", error.c_str(), simUsage().c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Sim sim;
  if (!parseCommandLine(argc, argv, sim.options)) return 2;
  if (sim.options.help) {
    std::fputs(simUsage().c_str(), stdout);
    return 0;
  }
  sim.splitter = CommandSplitter(sim.options.commandCap);
  sim.random.seed(sim.options.seed);
  if (!sim.options.transcriptPath.empty() &&
      !openTranscript(sim.transcript, sim.options.transcriptPath)) {
    logMessage("cannot write transcript " + sim.options.transcriptPath);
    return 1;
  }
  if (!installSignals() || (sim.options.tcp && !listenTcp(sim)) || !bringUpPty(sim)) return 1;
  int status = runLoop(sim);
  if (!sim.down) removeLinkTo(sim.options.linkPath, sim.pty.slavePath);
  closePtyPort(sim.pty);
  closeTcp(sim);
  logEvent(sim, "stopped");
  closeTranscript(sim.transcript);
  return status;
}
