// The menus built at run time: "&Connect" with one item per serial port and
// "&Help"; and the check mark of the chosen port item.
#include <windows.h>
#include <strsafe.h>

#include "links/port_discovery.h"
#include "protocol/control_state.h"
#include "ui/ids.h"
#include "ui/main/control_enabling.h"
#include "ui/main/main_window.h"
#include "ui/main/main_window_parts.h"

namespace {
constexpr int kPortItemUnits = 16;   // a port name shows at most 15 characters

HMENU buildConnectMenu() {
  HMENU menu = CreatePopupMenu();
  if (mainWindowState.noSerialPorts) {
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 0, L"No serial ports");
  } else {
    for (std::size_t i = 0; i < PortList.size(); ++i) {
      wchar_t name[kPortItemUnits] = {};
      StringCchPrintfW(name, kPortItemUnits, L"%ls", PortList[i].c_str());
      AppendMenuW(menu, MF_STRING, IDM_PORT_BASE + i, name);
    }
  }
  AppendMenuW(menu, MF_STRING, IDM_SHOW_OUTPUT, L"Show Output");
  return menu;
}

HMENU buildHelpMenu() {
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING | MF_GRAYED, IDM_FIRMWARE_VERSIONS, L"VRX-2600 &Firmware");
  AppendMenuW(menu, MF_STRING, IDM_ABOUT, L"&About...");
  return menu;
}
}  // namespace

void appendRunTimeMenus(HWND window) {
  HMENU bar = mainWindowState.mainMenu;
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(buildConnectMenu()), L"&Connect");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(buildHelpMenu()), L"&Help");
  SetMenu(window, bar);   // redraws the bar with the new menus
}

void markPortItem(int itemId) {
  clearPortMark();
  mainWindowState.markedPortItem = itemId;
  setMainMenuItemChecked(itemId, true);
}

void clearPortMark() {
  // Id 0 means no item is marked; the grayed "No serial ports" item has it too.
  if (mainWindowState.markedPortItem != 0) setMainMenuItemChecked(mainWindowState.markedPortItem, false);
  mainWindowState.markedPortItem = 0;
}
