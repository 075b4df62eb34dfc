#pragma once
// The unit's TCP side on 127.0.0.1: it takes commands and applies them, as
// the unit's network port does, and answers nothing there. Tests use it to
// set the unit's state behind the panel's back. At most a few clients.
#include <poll.h>

#include <cstddef>
#include <vector>

#include "command_splitter.h"

struct Sim;

struct TcpClient {
  int fd;
  CommandSplitter splitter;
};

struct TcpSide {
  int listenFd = -1;
  std::vector<TcpClient> clients;
};

// Listens on the options' port; false (and said why) when it cannot.
bool listenTcp(Sim& sim);
// Adds the listener and the clients to the poll set.
void addTcpToPoll(const Sim& sim, std::vector<pollfd>& fds);
// Reads the clients and accepts a new one, as poll reported from first on.
void serviceTcp(Sim& sim, const std::vector<pollfd>& fds, size_t first);
void closeTcp(Sim& sim);
