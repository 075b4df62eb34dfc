#pragma once
#include <windows.h>

// WM_RX_TEXT: wParam the burst's byte count, lParam serialLink.rxText (at most
// 1023 units, terminated), valid only while the message is handled.
constexpr UINT WM_RX_TEXT = WM_USER + 1;
// WM_LINK_LOST: posted to notifyWindow when the open port's device is gone (a
// read failed for any reason but the stop and a cleared line error, or a
// write failed as writeFailureMeansLinkGone says). wParam the system's error
// code, lParam the connection it belongs to (SerialLink::connection), so a
// report that arrives after the port was closed or opened again is told apart.
constexpr UINT WM_LINK_LOST = WM_USER + 2;
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
  LPARAM connection = 0;                     // counts the successful opens; the open port's number
  wchar_t rxText[kRxTextUnits] = {};
};
extern SerialLink serialLink;

void initSerialLink();
// Opens the port by its device path (port_path.h); openPortName keeps the name
// as given, cut to 15 units. Whatever reached the port before this open (bytes
// left in the adapter or the driver) is thrown away, so the first text read
// is what came after it. 1 when the system refused: the last error says why.
int openSerialPort(const wchar_t* name, HWND window);   // 0 opened, 1 refused
int configureSerialPort(HANDLE port);                    // 0, 2 reading failed, 1 applying failed
// size - 1 bytes: the text, then zeros. False, nothing sent, without a port or
// for a text with a unit above U+00FF; false too when fewer bytes went out
// than asked (the last error is then ERROR_TIMEOUT: a handshake line held the
// write back). A write aborted by a line error is cleared and tried once more.
// After false the last error says why.
bool writeSerialPort(HANDLE port, const wchar_t* text, int size);
// True for the errors of a failed write that mean the port's device is gone
// (an unplugged adapter, a pulled cable), as opposed to a write that only did
// not go out.
bool writeFailureMeansLinkGone(DWORD error);
// Posts WM_LINK_LOST for the given connection to notifyWindow.
void reportLinkLost(DWORD error, LPARAM connection);
// Stops the reader and waits for its end, handling a delivery it is blocked in.
int closeSerialPort(HANDLE port);                        // 0, 1 closing the handle failed
DWORD WINAPI serialReader(LPVOID);
