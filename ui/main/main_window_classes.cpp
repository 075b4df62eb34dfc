// The two window classes: "zaro" for the main window, "zaro_subwin" for the
// settings windows.
#include <windows.h>

#include "ui/ids.h"
#include "ui/main/main_window.h"
#include "ui/main/main_window_parts.h"
#include "ui/settings/settings_windows.h"

MainWindowState mainWindowState;

const HBRUSH mainWindowBackgroundBrush = CreateSolidBrush(kPanelGrey);

namespace {
int registerClass(WNDCLASSEXW& windowClass, const wchar_t* failureCaption) {
  windowClass.cbSize = sizeof windowClass;
  windowClass.hInstance = mainWindowState.instanceHandle;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  if (RegisterClassExW(&windowClass) != 0) return 0;
  MessageBoxW(nullptr, L"Call to RegisterClassEx failed!", failureCaption, MB_OK);
  return 1;
}
}  // namespace

int registerMainWindowClass() {
  WNDCLASSEXW windowClass{};
  windowClass.lpfnWndProc = mainWindowProc;
  windowClass.hIcon = LoadIconW(mainWindowState.instanceHandle, MAKEINTRESOURCEW(IDI_PROGRAM_ICON));
  windowClass.hbrBackground = mainWindowBackgroundBrush;
  windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN_MENU);
  windowClass.lpszClassName = L"zaro";
  return registerClass(windowClass, L"Main Class");
}

int registerSettingsWindowClass() {
  WNDCLASSEXW windowClass{};
  windowClass.lpfnWndProc = settingsWindowProc;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
  windowClass.lpszClassName = L"zaro_subwin";
  return registerClass(windowClass, L"Sub Class");
}
