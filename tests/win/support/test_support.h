#pragma once
// Helpers for the Windows tests: message pumping with deadlines, the unit's
// side of the test pty pair, reading back controls and painted pixels.
#include <windows.h>

#include <functional>
#include <string>

// Handles every pending message of this thread (sent ones included).
void pumpMessages();

// Pumps messages until done() is true or timeoutMs has passed; returns done().
bool waitFor(const std::function<bool()>& done, int timeoutMs = 5000);

// Pumps messages for about ms milliseconds.
void pumpFor(int ms);

// The COM names the test session maps: the program's end of a pty pair and
// the unit's end (the peer). Pair 2 is a second, independent pair.
std::wstring testPortName();
std::wstring testPeerName();
std::wstring testPort2Name();
std::wstring testPeer2Name();

// The unit's end of a pty pair, opened as a serial port at 115200 8N1.
class SerialPeer {
 public:
  explicit SerialPeer(const std::wstring& name);
  ~SerialPeer();
  SerialPeer(const SerialPeer&) = delete;
  SerialPeer& operator=(const SerialPeer&) = delete;

  bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  // Writes all bytes; false on failure.
  bool write(const std::string& bytes);
  // Reads until at least count bytes have come or timeoutMs has passed,
  // pumping this thread's messages meanwhile.
  std::string readAtLeast(std::size_t count, int timeoutMs = 5000);
  // Reads what arrives until the line has been quiet for quietMs.
  std::string readUntilQuiet(int quietMs = 300, int timeoutMs = 5000);
  // Throws away whatever is waiting.
  void drain();

 private:
  std::string readSome();
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

std::wstring windowText(HWND window);
// A control's text, for controls of other processes too (WM_GETTEXT).
std::wstring controlText(HWND control);

// The colour of a client pixel as painted on screen.
COLORREF clientPixel(HWND window, int x, int y);

// Text of a menu item by command id.
std::wstring menuItemText(HMENU menu, UINT id);
UINT menuItemState(HMENU menu, UINT id);

// Finds a top-level window of this process by class and title.
HWND findOwnWindow(const wchar_t* className, const wchar_t* title);

// Converts a narrow string of bytes to a printable form for failure messages.
std::string printable(const std::string& bytes);
