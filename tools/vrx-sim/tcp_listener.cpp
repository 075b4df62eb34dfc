#include "tcp_listener.h"

#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "sim.h"
#include "sim_log.h"

namespace {

constexpr size_t kMaxTcpClients = 8;

void acceptTcp(Sim& sim) {
  int fd = accept4(sim.tcp.listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
  if (fd < 0) return;
  if (sim.tcp.clients.size() >= kMaxTcpClients) {
    logRejected(sim, "TCP connection, already " + std::to_string(kMaxTcpClients) + " open");
    close(fd);
    return;
  }
  sim.tcp.clients.push_back({fd, CommandSplitter(sim.options.commandCap)});
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

}  // namespace

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
  sim.tcp.listenFd = fd;
  logEvent(sim, "taking commands on 127.0.0.1:" + std::to_string(sim.options.tcpPort));
  return true;
}

void addTcpToPoll(const Sim& sim, std::vector<pollfd>& fds) {
  if (sim.tcp.listenFd >= 0) fds.push_back({sim.tcp.listenFd, POLLIN, 0});
  for (const TcpClient& client : sim.tcp.clients) fds.push_back({client.fd, POLLIN, 0});
}

void serviceTcp(Sim& sim, const std::vector<pollfd>& fds, size_t first) {
  size_t firstClient = first + (sim.tcp.listenFd >= 0 ? 1 : 0);
  std::vector<TcpClient>& clients = sim.tcp.clients;
  for (size_t i = clients.size(); i-- > 0;) {
    if (!fds[firstClient + i].revents) continue;
    if (readTcp(sim, clients[i])) continue;
    close(clients[i].fd);
    clients.erase(clients.begin() + long(i));
    logEvent(sim, "TCP client gone");
  }
  if (sim.tcp.listenFd >= 0 && (fds[first].revents & POLLIN)) acceptTcp(sim);
}

void closeTcp(Sim& sim) {
  for (TcpClient& client : sim.tcp.clients) close(client.fd);
  sim.tcp.clients.clear();
  if (sim.tcp.listenFd >= 0) close(sim.tcp.listenFd);
  sim.tcp.listenFd = -1;
}
