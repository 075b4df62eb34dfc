// The "zaro" window procedure: each message goes to a short handler.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include "links/serial_link.h"
#include "protocol/command_set.h"
#include "protocol/control_state.h"
#include "ui/ids.h"
#include "ui/main/main_window.h"
#include "ui/main/main_window_parts.h"
#include "ui/main/received_text.h"

namespace {
BOOL onCreate(HWND, LPCREATESTRUCTW) {
  return TRUE;   // the controls are built by createMainWindow once the window exists
}

void onPaint(HWND window) { paintMainWindow(window); }

void onCommand(HWND window, int id, HWND control, UINT notification) {
  if (notification == 0) dispatchCommand(window, id, control);
}

// Only the ten level trackbars scroll vertically in this window.
void onVerticalScroll(HWND, HWND control, UINT, int) {
  if (control == nullptr) return;
  int level = static_cast<int>(SendMessageW(control, TBM_GETPOS, 0, 0));
  int index = GetDlgCtrlID(control) - IDC_AUDIO_LEVEL_BASE;
  if (index >= 0 && index < kAudioInputCount) setAudioInputLevel(index, level);
}

LRESULT onReceivedText(WPARAM count, LPARAM text) {
  parseReceivedText(reinterpret_cast<const wchar_t*>(text), static_cast<unsigned>(count));
  return 0;
}

LRESULT onLinkLost(WPARAM error, LPARAM connection) {
  reportLostLink(static_cast<DWORD>(error), connection);
  return 0;
}

void onTimer(HWND, UINT id) { onAnswerWatchTimer(id); }

// Shutdown order: an open port is closed through the link, which stops its
// reader and waits for its end; only then is the stop mutex closed, so no
// handle goes while the reader may still wait on it.
void onDestroy(HWND) {
  if (serialLink.portOpen) closeSerialPort(serialLink.serialHandle);
  if (serialLink.stopMutex != nullptr) CloseHandle(serialLink.stopMutex);
  serialLink.stopMutex = nullptr;
  PostQuitMessage(0);
}

LRESULT handleMainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    HANDLE_MSG(window, WM_CREATE, onCreate);
    HANDLE_MSG(window, WM_PAINT, onPaint);
    HANDLE_MSG(window, WM_COMMAND, onCommand);
    HANDLE_MSG(window, WM_VSCROLL, onVerticalScroll);
    HANDLE_MSG(window, WM_DESTROY, onDestroy);
    HANDLE_MSG(window, WM_TIMER, onTimer);
    case WM_RX_TEXT:
      return onReceivedText(wParam, lParam);
    case WM_LINK_LOST:
      return onLinkLost(wParam, lParam);
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}
}  // namespace

// No exception may cross the system's frames: a handler that throws has done
// nothing more, and the message counts as handled.
LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return handleMainWindowMessage(window, message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}
