#pragma once
#include <windows.h>

// Start-up up to the message loop: ports, serial link, start values, GDI+,
// main window. Returns createMainWindow's result.
int startControlPanel(HINSTANCE instance, int showCommand);

// The exit code when fetching a message fails: the loop then has no WM_QUIT
// whose wParam could be returned.
constexpr int kMessageLoopFailedExitCode = 2;

// Runs the UI thread's message loop until WM_QUIT; returns its wParam, or
// kMessageLoopFailedExitCode when fetching a message fails.
int runMessageLoop();

// Shuts GDI+ down again.
void stopControlPanel();
