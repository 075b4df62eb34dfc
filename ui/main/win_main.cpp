// The program's entry: start-up, the message loop until the main window is
// destroyed, then GDI+ shut-down.
#include <windows.h>

#include "ui/main/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int showCommand) {
  int exitCode = 1;   // the window could not be built
  if (startControlPanel(instance, showCommand) == 0) exitCode = runMessageLoop();
  stopControlPanel();
  return exitCode;
}
