// The frame every settings window shares: opening, placement, the window
// procedure and the paint set-up. It names no kind: it asks the kinds' table.
#include "ui/settings/settings_frame.h"

#include <new>

#include "ui/main/main_window.h"
#include "ui/settings/settings_windows.h"

namespace {
constexpr wchar_t kSettingsClass[] = L"zaro_subwin";
constexpr DWORD kSettingsStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr COLORREF kTextColour = RGB(0, 0, 0);
constexpr COLORREF kTextBackground = RGB(0xEE, 0xEE, 0xEE);
constexpr int kControlSlots = 17;   // the most controls a kind makes (Network Settings)

// Kept with the window itself, so that its own buttons act on its own
// controls even when a newer window of the kind exists.
struct SettingsWindowRecord {
  const SettingsKind* kind = nullptr;
  HWND controls[kControlSlots] = {};
  int controlCount = 0;
};

SettingsWindowRecord* recordOf(HWND window) {
  if (window == nullptr || !IsWindow(window)) return nullptr;
  return reinterpret_cast<SettingsWindowRecord*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

HFONT fontOf(SettingsFont font) {
  return font == SettingsFont::Fixed ? mainWindowState.fixedFont : mainWindowState.uiFont;
}

void onPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (dc == nullptr) return;
  HGDIOBJ oldFont = SelectObject(dc, mainWindowState.uiFont);
  SetTextColor(dc, kTextColour);
  SetBkColor(dc, kTextBackground);
  // Only the newest window of a kind shows the current values.
  for (int k = 0; k < kSettingsKindCount; ++k) {
    const SettingsKind& kind = *kSettingsKinds[k];
    if (window == *kind.newestWindow && kind.paintLines != nullptr) kind.paintLines(dc);
  }
  if (oldFont != nullptr) SelectObject(dc, oldFont);
  EndPaint(window, &paint);
}

// The notification code is not looked at: the ids alone decide.
void onCommand(HWND window, WPARAM wParam) {
  int id = LOWORD(wParam);
  for (int k = 0; k < kSettingsKindCount; ++k)
    if (kSettingsKinds[k]->runCommand(window, id)) return;
}

void onScroll(HWND trackbar) {
  if (trackbar == nullptr) return;
  for (int k = 0; k < kSettingsKindCount; ++k)
    if (kSettingsKinds[k]->scroll != nullptr) kSettingsKinds[k]->scroll(trackbar);
}

// A destroyed window is no kind's newest any more.
void onDestroy(HWND window) {
  for (int k = 0; k < kSettingsKindCount; ++k)
    if (*kSettingsKinds[k]->newestWindow == window) *kSettingsKinds[k]->newestWindow = nullptr;
}

void onFinalDestroy(HWND window) {
  delete recordOf(window);
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

LRESULT handleSettingsWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      onPaint(window);
      return 0;
    case WM_COMMAND:
      onCommand(window, wParam);
      return 0;
    case WM_HSCROLL:
      onScroll(reinterpret_cast<HWND>(lParam));
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

// A settings window belongs to the main window: it stays in front of it, and
// goes and comes back with it when it is minimised and restored.
int openSettingsWindow(const SettingsKind& kind) {
  HWND window = CreateWindowExW(0, kSettingsClass, kind.title, kSettingsStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                kind.clientWidth, kind.clientHeight, mainWindowState.mainWindow, nullptr,
                                mainWindowState.instanceHandle, nullptr);
  *kind.newestWindow = window;
  if (window == nullptr) {
    MessageBoxW(mainWindowState.mainWindow, L"Call to CreateWindow failed!", L"Win32 Guided Tour", MB_OK);
    return 1;
  }
  // Without a record the window still opens; its buttons then act on nothing.
  SettingsWindowRecord* record = new (std::nothrow) SettingsWindowRecord;
  if (record != nullptr) {
    record->kind = &kind;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
  }
  placeSettingsWindow(window, kind.clientWidth, kind.clientHeight);
  kind.createControls(window);
  if (kind.sendOpeningQueries != nullptr) kind.sendOpeningQueries();
  // Opened from the menu, it comes up in front and active whatever show
  // command started the program (a shortcut set to "Minimized" or "Maximized"
  // is meant for the main window).
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  return 0;
}

const SettingsKind* settingsKindOf(HWND window) {
  SettingsWindowRecord* record = recordOf(window);
  return record != nullptr ? record->kind : nullptr;
}

HWND addSettingsControl(HWND window, const SettingsControlSpec& row) {
  HWND control = CreateWindowExW(0, row.className, row.text, WS_CHILD | WS_VISIBLE | row.style, row.x, row.y,
                                 row.width, row.height, window,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                                 mainWindowState.instanceHandle, nullptr);
  SettingsWindowRecord* record = recordOf(window);
  if (record != nullptr && record->controlCount < kControlSlots) record->controls[record->controlCount++] = control;
  if (control != nullptr && row.font != SettingsFont::None) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(row.font)),
                 row.font == SettingsFont::UiRedraw ? TRUE : FALSE);
  }
  return control;
}

HWND settingsControl(HWND window, int index) {
  SettingsWindowRecord* record = recordOf(window);
  if (record == nullptr || index < 0 || index >= record->controlCount) return nullptr;
  return record->controls[index];
}

void repaintNewestWindow(const SettingsKind& kind, const RECT& rect) {
  // A null handle would repaint the whole desktop; a closed window has gone.
  HWND window = *kind.newestWindow;
  if (window == nullptr || !IsWindow(window)) return;
  InvalidateRect(window, &rect, TRUE);
  UpdateWindow(window);
}
