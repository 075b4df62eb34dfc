#pragma once
// A program of the build folder started as its own process, from outside:
// the control panel for the end-to-end tests, the demo and the start-up
// benchmark, or the minimal window the benchmark compares it with.
#include <windows.h>

#include <string>

// A window's or control's text through WM_GETTEXT, so for windows of other
// processes too.
std::wstring windowText(HWND window);

// A top-level window of any process, once it is visible; null after timeoutMs.
HWND waitForWindow(const wchar_t* className, const wchar_t* title, double timeoutMs = 10000);

class ProgramProcess {
 public:
  // Starts program (a name in the build folder, or a path to a copy installed
  // elsewhere) with its standard output (and error) going to a pipe, and
  // polls every millisecond until its window of class and title is visible;
  // then lets its first paints finish.
  explicit ProgramProcess(const wchar_t* program = L"vrx2600-control.exe", const wchar_t* windowClass = L"zaro",
                          const wchar_t* title = L"Tervane VRX 2600 Control");
  // Closes the window and waits for the process; ends it when it will not go.
  ~ProgramProcess();
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;

  bool started() const { return mainWindow_ != nullptr; }
  HWND mainWindow() const { return mainWindow_; }
  HANDLE process() const { return process_.hProcess; }
  // From just before CreateProcessW to the window found visible; -1 when never.
  double shownAfterMs() const { return shownAfterMs_; }
  // Posts WM_CLOSE and waits for the process; its exit code, or -1.
  int close(int timeoutMs = 10000);
  // What the program has written to standard output so far.
  std::string standardOutput() const;

 private:
  PROCESS_INFORMATION process_{};
  HANDLE outputPipe_ = nullptr;
  HWND mainWindow_ = nullptr;
  double shownAfterMs_ = -1;
};
