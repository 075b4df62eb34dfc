#include <windows.h>

#include "links/serial_link.h"
#include "protocol/control_state.h"
#include "tools/bench/bench_peer.h"
#include "tools/bench/box_watch.h"
#include "tools/bench/panel_scenarios.h"
#include "tools/bench/rx_watch.h"
#include "ui/ids.h"
#include "ui/main/main_window.h"
#include "ui/main/startup.h"

namespace {
constexpr double kQuietMs = 300;

// Bytes a run before this one left on the line (a pty pair outlives its
// programs) would open this run's traffic; they are read away first.
void drainPort(const std::wstring& name) {
  BenchPeer port;
  if (!openBenchPeer(port, name.c_str())) return;
  double quietSince = nowMs();
  while (nowMs() - quietSince < kQuietMs) {
    if (!readAvailable(port).empty()) quietSince = nowMs();
    Sleep(10);
  }
  closeBenchPeer(port);
}

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }
}  // namespace

bool startConnectedPanel(const PanelPorts& ports, std::string* why) {
  startBoxWatch();
  drainPort(ports.program);
  if (startControlPanel(GetModuleHandleW(nullptr), SW_SHOWNORMAL) != 0 || mainWindowState.mainWindow == nullptr) {
    *why = "the main window was not built";
    return false;
  }
  watchReceivedText(mainWindowState.mainWindow);
  // The operator watches the traffic: the output pane is shown.
  SendMessageW(mainWindowState.mainWindow, WM_COMMAND, MAKEWPARAM(IDM_SHOW_OUTPUT, 0), 0);
  pumpMs(100);
  int index = portItemIndex(ports.program);
  if (index < 0) {
    *why = narrow(ports.program) + " is not in the program's port list";
    return false;
  }
  connectToPort(index);
  if (!serialLink.portOpen) {
    *why = "connectToPort did not open " + narrow(ports.program);
    return false;
  }
  return true;
}

bool startPanelWithPeer(const PanelPorts& ports, BenchPeer& peer, bool settle, std::string* why) {
  if (!openBenchPeer(peer, ports.peer.c_str())) {
    *why = "cannot open the peer port";
    return false;
  }
  if (!startConnectedPanel(ports, why)) return false;
  if (settle) {
    pumpMs(700);   // the opening queries and their pauses
    readAvailable(peer);
  }
  return true;
}
