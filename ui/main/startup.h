#pragma once
#include <windows.h>

// Start-up up to the message loop: ports, serial link, start values, GDI+,
// main window. Returns createMainWindow's result.
int startControlPanel(HINSTANCE instance, int showCommand);

// Runs the UI thread's message loop until WM_QUIT; returns its wParam.
int runMessageLoop();

// Shuts GDI+ down again.
void stopControlPanel();
