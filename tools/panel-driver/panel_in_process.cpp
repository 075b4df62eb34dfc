#include "tools/panel-driver/panel_in_process.h"

#include <commctrl.h>

#include <algorithm>

#include "links/port_discovery.h"
#include "links/serial_link.h"
#include "protocol/control_state.h"
#include "tools/panel-driver/program_process.h"
#include "tools/panel-driver/session_environment.h"
#include "tools/panel-driver/waiting.h"
#include "ui/main/main_window.h"
#include "ui/main/received_text.h"
#include "ui/main/startup.h"

namespace {
constexpr UINT_PTR kBrushKeeperId = 0x4B42;   // "KB"

// Unregistering a class deletes its background brush, but the program makes
// the main class's brush once for its whole run. So the brush is taken off
// the class as the main window's last message comes (whoever destroys it),
// and the next start registers the class with the brush still alive.
LRESULT CALLBACK keepClassBrush(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_NCDESTROY) SetClassLongPtrW(window, GCLP_HBRBACKGROUND, 0);
  return DefSubclassProc(window, message, wParam, lParam);
}

BOOL CALLBACK destroyWindow(HWND window, LPARAM) {
  DestroyWindow(window);
  return TRUE;
}
}  // namespace

HWND finishPanelStart() {
  if (mainWindowState.mainWindow != nullptr) SetWindowSubclass(mainWindowState.mainWindow, keepClassBrush, kBrushKeeperId, 0);
  // The units played here answer what a case or a benchmark has them answer;
  // the notice of a silent unit would wait for an operator. A case that
  // checks the notice sets the wait again.
  mainWindowState.answerWaitMs = 0;
  pumpMessages();
  return mainWindowState.mainWindow;
}

HWND startPanel() {
  startControlPanel(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
  return finishPanelStart();
}

int listedPortIndex(const std::wstring& portName) {
  if (!CEnumerateSerial::UsingRegistry()) return -1;
  auto at = std::find(PortList.begin(), PortList.end(), portName);
  return at == PortList.end() ? -1 : static_cast<int>(at - PortList.begin());
}

long paneLength() { return static_cast<long>(SendMessageW(mainWindowState.consoleEdit, WM_GETTEXTLENGTH, 0, 0)); }

std::wstring paneText() { return windowText(mainWindowState.consoleEdit); }

void endPanel() {
  // Settings windows, the main window and whatever else this thread made.
  EnumThreadWindows(GetCurrentThreadId(), destroyWindow, 0);
  // The main window's end posts WM_QUIT; a quit left pending would end the
  // next message box's modal loop at once.
  MSG quit;
  while (PeekMessageW(&quit, nullptr, 0, 0, PM_REMOVE)) {
  }
  if (serialLink.portOpen) closeSerialPort(serialLink.serialHandle);
  if (serialLink.stopMutex != nullptr) CloseHandle(serialLink.stopMutex);
  stopControlPanel();
  if (mainWindowState.uiFont != nullptr) DeleteObject(mainWindowState.uiFont);
  if (mainWindowState.fixedFont != nullptr) DeleteObject(mainWindowState.fixedFont);
  HINSTANCE instance = mainWindowState.instanceHandle != nullptr ? mainWindowState.instanceHandle
                                                                 : GetModuleHandleW(nullptr);
  UnregisterClassW(L"zaro", instance);
  UnregisterClassW(L"zaro_subwin", instance);
  controlState = ControlState{};
  forgetPartialReply();
  mainWindowState = MainWindowState{};
  serialLink = SerialLink{};
  PortList.clear();
}
