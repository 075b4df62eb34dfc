#include "tools/harness/panel_in_process.h"

#include "links/port_discovery.h"
#include "links/serial_link.h"
#include "protocol/control_state.h"
#include "tools/harness/controls_and_menus.h"
#include "tools/harness/session_environment.h"
#include "tools/harness/unit_peer.h"
#include "tools/harness/waiting.h"
#include "ui/main/main_window.h"
#include "ui/main/startup.h"

namespace {
HWND started() {
  pumpMessages();
  return mainWindowState.mainWindow;
}
}  // namespace

HWND startPanel() {
  startControlPanel(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
  return started();
}

HWND startPanelWithPorts(const std::vector<std::wstring>& names, bool listingFailed) {
  PortList = names;
  mainWindowState.noSerialPorts = listingFailed;
  initSerialLink();
  applyStartValues(controlState);
  createMainWindow(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
  return started();
}

HWND startPanelWithExtraPorts(std::initializer_list<const wchar_t*> extraNames) {
  discoverSerialPorts();
  std::vector<std::wstring> names = PortList;
  for (const wchar_t* name : extraNames) names.emplace_back(name);
  return startPanelWithPorts(names, false);
}

void choosePortItem(const std::wstring& portName) {
  int id = findMenuItemId(mainWindowState.mainMenu, portName);
  SendMessageW(mainWindowState.mainWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

std::string connectTestPort(UnitPeer& peer) {
  choosePortItem(testPortName());
  return peer.readAtLeast(kOpeningQueries.size());
}

long paneLength() { return static_cast<long>(SendMessageW(mainWindowState.consoleEdit, WM_GETTEXTLENGTH, 0, 0)); }

std::wstring paneText() { return windowText(mainWindowState.consoleEdit); }
