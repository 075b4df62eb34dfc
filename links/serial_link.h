#pragma once
#include <windows.h>

// WM_RX_TEXT: wParam the burst's byte count, lParam serialLink.rxText (at most
// 1023 units, terminated), valid only while the message is handled.
constexpr UINT WM_RX_TEXT = WM_USER + 1;
constexpr int kRxTextUnits = 1024;
constexpr int kPortNameUnits = 16;

// The one serial link. Open, configure, write and close run on the UI thread;
// the reader thread writes only rxText, right before its synchronous send.
struct SerialLink {
  HANDLE serialHandle = nullptr;             // the open port, null when none
  wchar_t openPortName[kPortNameUnits] = {};
  HWND notifyWindow = nullptr;               // receives WM_RX_TEXT
  BOOL portOpen = FALSE;
  LONG readerCount = 0;                      // readers started, not told to stop (at most 4)
  HANDLE stopMutex = nullptr;                // owned by the UI thread while readers run
  HANDLE readerThread = nullptr;             // the running reader, waited for on close
  wchar_t rxText[kRxTextUnits] = {};
};
extern SerialLink serialLink;

void initSerialLink();
// Opens the port by its device path (port_path.h); openPortName keeps the name
// as given, cut to 15 units. 1 when the system refused: the last error says why.
int openSerialPort(const wchar_t* name, HWND window);   // 0 opened, 1 refused
int configureSerialPort(HANDLE port);                    // 0, 2 reading failed, 1 applying failed
// size - 1 bytes: the text, then zeros. False, nothing sent, without a port or
// for a text with a unit above U+00FF.
bool writeSerialPort(HANDLE port, const wchar_t* text, int size);
// Stops the reader and waits for its end, handling a delivery it is blocked in.
int closeSerialPort(HANDLE port);                        // 0, 1 closing the handle failed
DWORD WINAPI serialReader(LPVOID);
