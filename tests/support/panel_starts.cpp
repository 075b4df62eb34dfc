#include "tests/support/panel_starts.h"

#include "links/port_discovery.h"
#include "links/port_path.h"
#include "links/serial_link.h"
#include "protocol/control_state.h"
#include "tests/support/controls_and_menus.h"
#include "tools/panel-driver/session_environment.h"
#include "tools/panel-driver/unit_peer.h"
#include "ui/main/main_window.h"

HWND startPanelWithPorts(const std::vector<std::wstring>& names, bool listingFailed) {
  PortList = names;
  mainWindowState.noSerialPorts = listingFailed;
  initSerialLink();
  applyStartValues(controlState);
  createMainWindow(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
  return finishPanelStart();
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

namespace {
void drainLine(const std::wstring& port) {
  wchar_t path[kPortPathUnits];
  if (port.empty() || !portDevicePath(port.c_str(), path, kPortPathUnits)) return;
  HANDLE line = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (line == INVALID_HANDLE_VALUE) return;
  // Reads return at once with what is there.
  COMMTIMEOUTS now{MAXDWORD, 0, 0, 0, 0};
  SetCommTimeouts(line, &now);
  char bytes[4096];
  DWORD got = 0;
  while (ReadFile(line, bytes, sizeof bytes, &got, nullptr) && got > 0) {
  }
  CloseHandle(line);
}
}  // namespace

void drainRigLines() {
  for (const std::wstring& port : {testPortName(), testPort2Name(), unplugPortName(), simPortName()}) drainLine(port);
}
