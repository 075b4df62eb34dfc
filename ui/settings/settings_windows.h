#pragma once
#include <windows.h>

// Each builds a new window of its kind, sends its opening queries and shows
// it; 0, or 1 when the window could not be created.
int openOutputVideoSettings();
int openVgaImageAdjustments();
int openNetworkSettings();

// Sizes a new settings window to the given client size and centres it on its
// monitor.
void placeSettingsWindow(HWND window, int clientWidth, int clientHeight);

LRESULT CALLBACK settingsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
