// createMainWindow: fonts, classes, the window centred on its monitor, its
// controls and the run-time menus.
#include <windows.h>

#include "protocol/control_state.h"
#include "ui/main/command_output.h"
#include "ui/main/control_enabling.h"
#include "ui/main/main_window.h"
#include "ui/main/main_window_parts.h"

namespace {
constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

void measureFrame(HWND window) {
  RECT outer{}, client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  mainWindowState.nonClientWidth = (outer.right - outer.left) - (client.right - client.left);
  mainWindowState.nonClientHeight = (outer.bottom - outer.top) - (client.bottom - client.top);
}

// Sizes the window to the compact client area and centres it on its monitor.
void centreOnMonitor(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
  int cx = mainWindowState.nonClientWidth + CLIENT_WIDTH;
  int cy = mainWindowState.nonClientHeight + CLIENT_HEIGHT_COMPACT;
  int x = monitor.rcMonitor.right / 2 - cx / 2;
  int y = monitor.rcMonitor.bottom / 2 - cy / 2;
  MoveWindow(window, x, y, cx, cy, TRUE);
}
}  // namespace

int createMainWindow(HINSTANCE instance, int showCommand) {
  createMainWindowFonts();
  mainWindowState.instanceHandle = instance;
  mainWindowState.showCommand = showCommand;
  controlState.linkMode = LinkMode::Serial;
  routeCommandsToTheLink();
  mainWindowState.outputShown = false;
  registerMainWindowClass();
  registerSettingsWindowClass();

  HWND window = CreateWindowExW(0, L"zaro", L"Tervane VRX 2600 Control", kMainWindowStyle, CW_USEDEFAULT,
                                CW_USEDEFAULT, CLIENT_WIDTH, CLIENT_HEIGHT_COMPACT, nullptr, nullptr, instance,
                                nullptr);
  if (window == nullptr) {
    MessageBoxW(nullptr, L"Call to CreateWindow failed!", L"Win32 Guided Tour", MB_OK);
    return 1;
  }
  mainWindowState.mainWindow = window;
  mainWindowState.mainMenu = GetMenu(window);
  measureFrame(window);
  centreOnMonitor(window);

  makeButtonsIgnoreDoubleClicks(window);
  createPanelControls(window);
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  appendRunTimeMenus(window);
  createOutputControls(window);

  if (mainWindowState.noSerialPorts) {
    MessageBoxW(window, L"No serial ports connected to this PC, connect one and restart this program.",
                L"No Serial Ports", MB_OK);
  }
  return 0;
}
