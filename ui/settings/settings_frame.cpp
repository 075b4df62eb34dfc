// The frame every settings window shares: opening, placement, the window
// procedure and the paint set-up.
#include "ui/settings/settings_frame.h"

#include <new>

#include "protocol/control_state.h"
#include "ui/main/main_window.h"
#include "ui/settings/settings_windows.h"

namespace {
constexpr wchar_t kSettingsClass[] = L"zaro_subwin";
constexpr DWORD kSettingsStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr COLORREF kTextColour = RGB(0, 0, 0);
constexpr COLORREF kTextBackground = RGB(0xEE, 0xEE, 0xEE);

void onPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (dc == nullptr) return;
  HGDIOBJ oldFont = SelectObject(dc, controlState.uiFont);
  SetTextColor(dc, kTextColour);
  SetBkColor(dc, kTextBackground);
  // Only the newest window of a kind shows the current values.
  if (window == controlState.videoSettingsWindow) {
    paintOutputVideoTexts(dc);
  } else if (window == controlState.networkSettingsWindow) {
    paintNetworkTexts(dc);
  }
  if (oldFont != nullptr) SelectObject(dc, oldFont);
  EndPaint(window, &paint);
}

void onCommand(HWND window, WPARAM wParam) {
  // The notification code is not looked at: the ids alone decide.
  int id = LOWORD(wParam);
  SettingsWindowRecord* record = settingsRecord(window);
  if (runOutputVideoCommand(record, id)) return;
  if (runVgaCommand(id)) return;
  runNetworkCommand(record, id);
}

// Whatever this window named in ControlState must not outlive it.
void onDestroy(HWND window) {
  forgetOutputVideoWindow(window);
  forgetNetworkWindow(window);
  if (controlState.vgaAdjustmentsWindow == window) controlState.vgaAdjustmentsWindow = nullptr;
}

void onFinalDestroy(HWND window) {
  delete settingsRecord(window);
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}
}  // namespace

SettingsWindowRecord* settingsRecord(HWND window) {
  return reinterpret_cast<SettingsWindowRecord*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

namespace {
LRESULT handleSettingsWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      onPaint(window);
      return 0;
    case WM_COMMAND:
      onCommand(window, wParam);
      return 0;
    case WM_HSCROLL:
      runTrackbarScroll(reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CREATE:
      return 0;
    case WM_DESTROY:
      onDestroy(window);
      return 0;
    case WM_NCDESTROY:
      onFinalDestroy(window);
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
}  // namespace

// No exception may cross the system's frames.
LRESULT CALLBACK settingsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return handleSettingsWindowMessage(window, message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

void placeSettingsWindow(HWND window, int clientWidth, int clientHeight) {
  RECT client{};
  RECT outer{};
  GetClientRect(window, &client);
  GetWindowRect(window, &outer);
  int outerWidth = clientWidth + (outer.right - outer.left) - client.right;
  int outerHeight = clientHeight + (outer.bottom - outer.top) - client.bottom;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
  // Only the right and bottom edges enter: on the primary monitor this centres.
  int x = monitor.rcMonitor.right / 2 - outerWidth / 2;
  int y = monitor.rcMonitor.bottom / 2 - outerHeight / 2;
  SetWindowPos(window, HWND_TOP, x, y, outerWidth, outerHeight, 0);
}

HWND beginSettingsWindow(SettingsKind kind, const wchar_t* title, int clientWidth, int clientHeight, HWND* slot) {
  HWND window = CreateWindowExW(0, kSettingsClass, title, kSettingsStyle, CW_USEDEFAULT, CW_USEDEFAULT, clientWidth,
                                clientHeight, nullptr, nullptr, mainWindowState.instanceHandle, nullptr);
  *slot = window;
  if (window == nullptr) {
    MessageBoxW(nullptr, L"Call to CreateWindow failed!", L"Win32 Guided Tour", MB_OK);
    return nullptr;
  }
  // Without a record the window still opens; its buttons then act on nothing.
  SettingsWindowRecord* record = new (std::nothrow) SettingsWindowRecord;
  if (record != nullptr) {
    record->kind = kind;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
  }
  placeSettingsWindow(window, clientWidth, clientHeight);
  return window;
}

void finishSettingsWindow(HWND window) {
  ShowWindow(window, mainWindowState.showCommand);
  UpdateWindow(window);
}

HWND createSettingsControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id, int x,
                           int y, int width, int height) {
  return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), mainWindowState.instanceHandle, nullptr);
}

void setControlFont(HWND control, HFONT font, bool redraw) {
  if (control == nullptr) return;
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}
