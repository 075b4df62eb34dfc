#include "ui/main/startup.h"

// GDI+ needs the COM declarations that the lean windows.h leaves out.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "links/port_discovery.h"
#include "links/serial_link.h"
#include "protocol/control_state.h"
#include "ui/main/main_window.h"

namespace {
// Held from start-up until shut-down; nothing in the program draws with GDI+.
ULONG_PTR gdiplusToken = 0;
}  // namespace

int startControlPanel(HINSTANCE instance, int showCommand) {
  mainWindowState.noSerialPorts = discoverSerialPorts() == 1;
  initSerialLink();   // from here on this thread owns the stop mutex
  applyStartValues(controlState);
  Gdiplus::GdiplusStartupInput startup;   // version 1, no debug routine
  Gdiplus::GdiplusStartup(&gdiplusToken, &startup, nullptr);
  return createMainWindow(instance, showCommand);
}

int runMessageLoop() {
  MSG msg{};
  BOOL got = FALSE;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (got == -1) return kMessageLoopFailedExitCode;
  return static_cast<int>(msg.wParam);
}

void stopControlPanel() {
  if (gdiplusToken != 0) Gdiplus::GdiplusShutdown(gdiplusToken);
  gdiplusToken = 0;
}
