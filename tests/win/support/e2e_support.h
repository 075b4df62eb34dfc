#pragma once
// Driving the built control panel as its own process, from outside: start it,
// find its windows, read its controls and the pixels it painted on screen, and
// look at what the simulated unit received.
#include <winsock2.h>
#include <windows.h>

#include <string>
#include <vector>

// The control panel started as its own process, standard output to a file:
// the one built beside the running program, or the one at programPath (an
// installed copy), started in its own folder.
class ProgramProcess {
 public:
  explicit ProgramProcess(const std::wstring& programPath = L"");
  ~ProgramProcess();
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;

  bool started() const { return mainWindow_ != nullptr; }
  HWND mainWindow() const { return mainWindow_; }
  // Posts WM_CLOSE and waits for the process; its exit code, or -1.
  int close(int timeoutMs = 10000);
  // What the program has written to standard output so far.
  std::string standardOutput() const;

 private:
  PROCESS_INFORMATION process_{};
  HANDLE outputPipe_ = nullptr;
  HWND mainWindow_ = nullptr;
};

// The folder of the running test program, where vrx2600-control.exe is built.
std::wstring buildFolder();

// Index of a port name in HKLM\HARDWARE\DEVICEMAP\SERIALCOMM's REG_SZ values,
// which is the program's port list; -1 if absent.
int registryPortIndex(const std::wstring& name);

// The simulated unit of the test session.
std::wstring simPortName();
// Sends commands to the unit's TCP listener (it applies them, answers nothing).
bool sendToSim(const std::string& commands);
// The unit's transcript: every "<kind> <bytes>" line, time stamps dropped.
std::vector<std::string> simTranscript();
// The "rx" lines (commands received on the serial line) after the first skip lines.
std::vector<std::string> simReceivedSince(std::size_t skip);

// A top-level window of any process.
HWND waitForWindow(const wchar_t* className, const wchar_t* title, int timeoutMs = 10000);
// A child window by client position (the network edits share ids).
HWND childAt(HWND parent, const wchar_t* className, int x, int y);

// A screen pixel at a client point of a window, as the X server shows it.
COLORREF screenPixelAt(HWND window, int x, int y);

// Compares the screen at a client rectangle of window with text drawn the way
// the settings windows draw it (uiFont, black on RGB(238,238,238)); returns
// the share of differing pixels (0 is identical).
double paintedTextDifference(HWND window, int x, int y, const std::wstring& text);

// Clicks at a client point of window with real mouse input (SendInput).
void clickWithMouse(HWND window, int x, int y);
