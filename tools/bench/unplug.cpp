#include <windows.h>

#include <cstdlib>

#include "links/serial_link.h"
#include "protocol/command_set.h"
#include "protocol/control_state.h"
#include "tools/bench/bench_peer.h"
#include "tools/bench/panel_scenarios.h"
#include "tools/bench/rx_watch.h"
#include "tools/bench/ui_probe.h"
#include "tools/bench/unit_traffic.h"
#include "ui/main/main_window.h"

namespace {
constexpr double kOutageMs = 2000;        // how long the program is left with a dead port
constexpr double kPortBackLimitMs = 20000;
constexpr double kRetryMs = 250;
const std::size_t kOpeningQueryBytes = 42;

// The rig's request file as this program sees it (the Unix path on drive Z:).
std::wstring unplugRequestPath() {
  const char* rig = std::getenv("VRX_RIG_DIR");
  if (rig == nullptr) return L"";
  std::wstring path = L"Z:";
  for (const char* p = rig; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
  return path + L"\\pair3.unplug";
}

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool pullRigCable(const std::wstring& request) {
  HANDLE file = CreateFileW(request.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  // The rig's watcher deletes the request once the pair is back.
  return pumpUntil([&] { return !fileExists(request); }, kPortBackLimitMs);
}

// The unit's first reply after a connect: the rig's peer reads the opening
// queries and answers one; the simulated unit answers them by itself.
bool awaitFirstReply(UnplugBy by, BenchPeer& peer, long deliveriesBefore, double connectedAt, double* firstReplyMs) {
  if (by == UnplugBy::RigPair) {
    std::string got;
    pumpUntil([&] { return (got += readAvailable(peer)).size() >= kOpeningQueryBytes; }, 5000);
    writeAll(peer, videoReplyLine(3));
  }
  if (!pumpUntil([&] { return rxWatch.deliveries > deliveriesBefore; }, 5000)) return false;
  *firstReplyMs = rxWatch.lastHandledAtMs - connectedAt;
  return true;
}

// Connects until the port opens (a port that is still gone fails to open and
// connectToPort shows nothing), as an operator would try again.
bool reconnect(const PanelPorts& ports, UnplugBy by, BenchPeer& peer, int index, double* firstReplyMs) {
  if (by == UnplugBy::RigPair &&
      !pumpUntil([&] { return openBenchPeer(peer, ports.peer.c_str()); }, kPortBackLimitMs)) {
    return false;
  }
  double limit = nowMs() + kPortBackLimitMs;
  long before = rxWatch.deliveries;
  for (;;) {
    before = rxWatch.deliveries;
    connectToPort(index);
    if (serialLink.portOpen) break;
    if (nowMs() > limit) return false;
    pumpMs(kRetryMs);
  }
  return awaitFirstReply(by, peer, before, nowMs(), firstReplyMs);
}
}  // namespace

Unplug measureUnplug(const PanelPorts& ports, UnplugBy by, int rounds) {
  Unplug r;
  std::wstring request = unplugRequestPath();
  if (by == UnplugBy::RigPair && request.empty()) {
    r.why = "VRX_RIG_DIR is not set (run inside a test session)";
    return r;
  }
  BenchPeer peer;
  if (by == UnplugBy::RigPair && !openBenchPeer(peer, ports.peer.c_str())) {
    r.why = "cannot open the peer port";
    return r;
  }
  double connectedAt = nowMs();
  if (!startConnectedPanel(ports, &r.why)) return r;
  int index = portItemIndex(ports.program);
  double firstReply = 0;
  std::vector<double> firstReplies, outages;
  if (!awaitFirstReply(by, peer, 0, connectedAt, &firstReply)) {
    r.why = "the first connection brought no reply";
    return r;
  }
  UiProbe probe;
  startUiProbe(probe, mainWindowState.mainWindow);
  double longest = 0;
  for (int round = 0; round < rounds; ++round) {
    double pulled = nowMs();
    if (by == UnplugBy::RigPair) {
      closeBenchPeer(peer);
      if (!pullRigCable(request)) {
        r.why = "the rig did not bring the pair back";
        break;
      }
    } else {
      readVideoInput();   // the command after which the simulated unit hangs up
    }
    resetUiProbe(probe);
    // The program keeps a dead port: commands go nowhere, reads fail.
    pumpMs(kOutageMs / 2);
    readVideoInput();
    pumpMs(kOutageMs / 2);
    if (probe.longestMs > longest) longest = probe.longestMs;
    r.unansweredProbes += probe.unanswered;
    if (!IsWindow(mainWindowState.mainWindow) || !IsWindowVisible(mainWindowState.mainWindow)) r.windowKept = false;
    if (!reconnect(ports, by, peer, index, &firstReply)) {
      r.why = "round " + std::to_string(round) + ": no reply after reconnecting";
      break;
    }
    outages.push_back(nowMs() - pulled);
    firstReplies.push_back(firstReply);
    ++r.reconnected;
  }
  stopUiProbe(probe);
  closeBenchPeer(peer);
  r.rounds = rounds;
  r.longestUiWaitMs = longest;
  r.outageMs = spreadOf(outages);
  r.firstReplyMs = spreadOf(firstReplies);
  r.ok = r.why.empty() && r.reconnected == rounds && r.windowKept;
  return r;
}
