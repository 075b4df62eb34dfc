#include "stop_signals.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int gSignalPipe[2] = {-1, -1};

void onSignal(int) {
  char byte = 0;
  ssize_t ignored = write(gSignalPipe[1], &byte, 1);
  (void)ignored;
}

}  // namespace

bool installStopSignals() {
  if (pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  struct sigaction action{};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  // A reader gone from a TCP client must not end the unit.
  signal(SIGPIPE, SIG_IGN);
  return true;
}

int stopSignalFd() { return gSignalPipe[0]; }
