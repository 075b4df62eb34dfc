// Runs for a whole test session. Wine starts its system processes (the
// services and the desktop process) for the first program that needs them,
// and they inherit that program's output; started by a test program, they
// would hold CTest's pipe open until they wind down a second after it ended.
// Started here, with the session's log for output, they start once and stay.
#include <windows.h>

#include <cstdio>

int main() {
  // Returns once the desktop process is up.
  if (!GetDesktopWindow()) return 1;
  std::puts("ready");
  std::fflush(stdout);
  Sleep(INFINITE);  // until the session ends the prefix's processes
  return 0;
}
