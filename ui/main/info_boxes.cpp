// The firmware versions and About boxes of the "&Help" menu. Both belong to
// the main window, so they stay in front of it while they are open.
#include <windows.h>
#include <strsafe.h>

#include "protocol/control_state.h"
#include "ui/main/main_window.h"
#include "ui/main/main_window_parts.h"

namespace {
constexpr int kBoxTextUnits = 86;
}

void showFirmwareBox() {
  wchar_t text[kBoxTextUnits] = {};
  StringCchPrintfW(text, kBoxTextUnits, L"LPMCU version: %ls\nFPMCU version: %ls\nFLMCU version: %ls",
                   controlState.lpmcuVersion, controlState.fpmcuVersion, controlState.flmcuVersion);
  MessageBoxW(mainWindowState.mainWindow, text, L"Firmware Versions", MB_OK);
}

void showAboutBox() {
  wchar_t text[kBoxTextUnits] = {};
  StringCchPrintfW(text, kBoxTextUnits, L"%ls\n%ls", L"Tervane VRX 2600 Control",
                   L"Copyright (C) 2014 Tervane. All rights reserved.");
  MessageBoxW(mainWindowState.mainWindow, text, L"About...", MB_OK);
}
