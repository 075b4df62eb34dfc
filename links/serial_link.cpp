// The serial link: one port at a time, written from the UI thread and read by
// one reader thread per opened port.
//
// How the link goes, and how it ends:
//   closed         no port; the UI thread owns the stop mutex (from start-up).
//   open           openSerialPort has the handle and has started a reader,
//                  which reads, assembles bursts and hands each over with the
//                  synchronous WM_RX_TEXT; it polls the stop mutex every cycle.
//   stop handed    closeSerialPort releases the mutex: the reader's next poll
//                  (or its wait on a pending read) takes it, which is the stop.
//   reader ended   the reader returns without releasing the mutex; the system
//                  passes it, abandoned, back to the UI thread, which waits for
//                  the reader's thread and then for the mutex, handling the
//                  WM_RX_TEXT the reader may still be blocked in meanwhile.
//   closed again   only then is the port's handle closed.
//   lost           a read fails for any reason but the stop and a line error
//                  that clearing mends (the cable was pulled, the adapter
//                  unplugged): the reader hands over what it had collected,
//                  posts WM_LINK_LOST and ends on its own, without the mutex.
//                  The UI thread then closes the port as above; the wait for
//                  the reader finds it ended and the mutex free.
// At program end the main window closes an open port this same way before it
// closes the mutex, so no handle goes while the reader may wait on it.
//
// Who writes what: serialHandle, openPortName, notifyWindow, portOpen,
// readerCount and readerThread are written by the UI thread only, and a
// reader is started only after serialHandle and notifyWindow are set (it
// copies the handle once). rxText is written by the reader only, right before
// its synchronous send, and read by the UI thread only while handling that
// send; the send keeps the two apart without a lock.
//
// Why a mutex is the stop signal: it has an owner, so a release lets exactly
// one waiting reader take it (a set event would stop every reader at once),
// an ending reader hands it back just by ending (abandoned, without a call
// of its own), and a wait on it sits beside the wait on a pending read. It is
// the link's only synchronisation object.
#include "links/serial_link.h"

#include <strsafe.h>

#include <cwchar>

#include "links/burst_assembly.h"
#include "links/port_path.h"
#include "links/single_byte_text.h"

SerialLink serialLink;

namespace {
// At most four readers may have been started and not told to stop; a port
// opened beyond that stays open without one. readerCount is lowered by every
// close, so with the one-port-at-a-time main window it is 0 or 1.
constexpr LONG kReaderLimit = 4;
constexpr DWORD kReadRequestBytes = 1024;
constexpr DWORD kRawBufferBytes = 2048;
constexpr DWORD kPendingSliceMs = 50;
constexpr DWORD kStopPollMs = 75;
constexpr int kWritePieceBytes = 1024;

// A read comes back about 2 ms after it starts, with whatever has arrived.
void applyLinkTimeouts(HANDLE port) {
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = 3;
  timeouts.ReadTotalTimeoutMultiplier = 0;
  timeouts.ReadTotalTimeoutConstant = 2;
  timeouts.WriteTotalTimeoutMultiplier = 3;
  timeouts.WriteTotalTimeoutConstant = 2;
  SetCommTimeouts(port, &timeouts);
}

// Every error of a write that means the device itself is gone, as Wine and
// Windows report a pulled cable or an unplugged USB adapter.
const DWORD kDeviceGoneErrors[] = {ERROR_BROKEN_PIPE,    ERROR_NOT_READY,      ERROR_ACCESS_DENIED,
                                   ERROR_BAD_COMMAND,    ERROR_DEVICE_NOT_CONNECTED, ERROR_INVALID_HANDLE,
                                   ERROR_GEN_FAILURE,    ERROR_FILE_NOT_FOUND, ERROR_DEVICE_REMOVED,
                                   ERROR_BAD_UNIT,       ERROR_DEV_NOT_EXIST};

// A line error (framing, overrun, a break) aborts every read and write of a
// port set to abort on errors, until the error is cleared. Clearing it mends
// the link: it loses the line the error hit, not the connection.
bool clearedLineError(HANDLE port, DWORD error) {
  if (error != ERROR_OPERATION_ABORTED) return false;
  DWORD errors = 0;
  return ClearCommError(port, &errors, nullptr) != FALSE;
}

void deliverBurst(const wchar_t* text, unsigned long count, void*) {
  StringCchCopyW(serialLink.rxText, kRxTextUnits, text);
  SendMessageW(serialLink.notifyWindow, WM_RX_TEXT, count, reinterpret_cast<LPARAM>(serialLink.rxText));
}

// Windows reports a read that timed out empty as success with 0 bytes; Wine
// fails it with ERROR_TIMEOUT. Both are an empty read.
ReadOutcome outcomeOfFailure(DWORD error) {
  return error == ERROR_TIMEOUT ? ReadOutcome::Empty : ReadOutcome::Failed;
}

ReadOutcome outcomeOfCount(DWORD got, ReadOutcome completed) {
  return got == 0 ? ReadOutcome::Empty : completed;
}

struct ReadResult {
  ReadOutcome outcome = ReadOutcome::Failed;
  DWORD got = 0;
  DWORD error = 0;       // the read's own failure; 0 when it did not fail
  bool stopped = false;  // handed the stop signal while the read pended
};

ReadResult failedRead(DWORD error) {
  ReadResult result;
  result.outcome = outcomeOfFailure(error);
  if (result.outcome == ReadOutcome::Failed) result.error = error;
  return result;
}

// Waits out a pending read in slices, also watching the stop signal: a read
// started under time-outs that never end it (the port's own, before the line
// is configured) must not keep the port from closing.
ReadResult finishPendingRead(HANDLE port, OVERLAPPED& read) {
  ReadResult result;
  HANDLE waits[2] = {read.hEvent, serialLink.stopMutex};
  for (;;) {
    DWORD woke = WaitForMultipleObjects(2, waits, FALSE, kPendingSliceMs);
    if (woke == WAIT_OBJECT_0) break;
    if (woke == WAIT_TIMEOUT) continue;
    result.stopped = true;
    CancelIoEx(port, &read);
    DWORD ignored = 0;
    GetOverlappedResult(port, &read, &ignored, TRUE);
    return result;
  }
  if (!GetOverlappedResult(port, &read, &result.got, FALSE)) return failedRead(GetLastError());
  result.outcome = outcomeOfCount(result.got, ReadOutcome::CompletedLater);
  return result;
}

ReadResult readOnce(HANDLE port, unsigned char* raw) {
  ReadResult result;
  OVERLAPPED read{};
  read.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (read.hEvent == nullptr) return result;
  if (ReadFile(port, raw, kReadRequestBytes, &result.got, &read)) {
    result.outcome = outcomeOfCount(result.got, ReadOutcome::CompletedAtOnce);
  } else if (GetLastError() == ERROR_IO_PENDING) {
    result = finishPendingRead(port, read);
  } else {
    result = failedRead(GetLastError());
  }
  CloseHandle(read.hEvent);
  return result;
}

// Any result but a time-out ends the reader: it was handed the mutex, or the
// mutex is gone with the main window. After a read that filled its request
// more bytes are waiting: the poll then only looks, so that the reader keeps
// up with the line (a 75 ms pause per 1024 bytes is slower than 115200 baud
// once the deliveries take their time too).
bool stopRequested(DWORD lastRead) {
  DWORD pollMs = lastRead >= kReadRequestBytes ? 0 : kStopPollMs;
  return WaitForSingleObject(serialLink.stopMutex, pollMs) != WAIT_TIMEOUT;
}

// Waits for the reader to end while handling the messages it may be sending
// to this thread: a reader blocked in delivering a burst ends only after that
// delivery has been handled here.
void waitForReaderEnd(HANDLE reader) {
  for (;;) {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    DWORD woke = MsgWaitForMultipleObjectsEx(1, &reader, INFINITE, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
    if (woke != WAIT_OBJECT_0 + 1) return;
  }
}
}  // namespace

void initSerialLink() {
  serialLink.portOpen = FALSE;
  serialLink.stopMutex = CreateMutexW(nullptr, TRUE, nullptr);
  serialLink.readerCount = 0;
}

int openSerialPort(const wchar_t* name, HWND window) {
  serialLink.notifyWindow = window;
  wchar_t path[kPortPathUnits];
  if (!portDevicePath(name, path, kPortPathUnits)) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return 1;
  }
  HANDLE port = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OVERLAPPED, nullptr);
  if (port == INVALID_HANDLE_VALUE) return 1;
  serialLink.serialHandle = port;
  StringCchCopyW(serialLink.openPortName, kPortNameUnits, name);
  serialLink.portOpen = TRUE;
  ++serialLink.connection;
  // Bytes that waited in the adapter or the driver came before this
  // connection (a unit that spoke while no program listened, the end of an
  // earlier session): they are no reply to anything the panel asks.
  PurgeComm(port, PURGE_RXCLEAR);
  // The reader starts before the caller configures the line; with the link's
  // time-outs already in place its first read comes back like every other.
  applyLinkTimeouts(port);
  if (serialLink.readerCount < kReaderLimit) {
    HANDLE reader = CreateThread(nullptr, 0, serialReader, nullptr, 0, nullptr);
    if (reader == nullptr) {
      // A port that nothing reads would swallow the unit's replies: it is
      // closed again and reported as a port that could not be opened.
      DWORD cause = GetLastError();
      CloseHandle(port);
      serialLink.serialHandle = nullptr;
      serialLink.openPortName[0] = 0;
      serialLink.portOpen = FALSE;
      SetLastError(cause);
      return 1;
    }
    ++serialLink.readerCount;
    if (serialLink.readerThread != nullptr) CloseHandle(serialLink.readerThread);
    serialLink.readerThread = reader;
  }
  return 0;
}

int configureSerialPort(HANDLE port) {
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(port, &dcb)) return 2;
  dcb.BaudRate = CBR_115200;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  if (!SetCommState(port, &dcb)) return 1;
  // The driver holds the unit's bytes while the reader waits in a delivery;
  // its own queue is often 4 KB, a third of a second at full line rate. A
  // driver that keeps its own sizes works as before, so the result is ignored.
  constexpr DWORD kDriverInputBytes = 65536;
  constexpr DWORD kDriverOutputBytes = 4096;
  SetupComm(port, kDriverInputBytes, kDriverOutputBytes);
  applyLinkTimeouts(port);
  return 0;
}

namespace {
// One write of count bytes, waited for; true when all went out. A write ends
// short when its time-out passes first (a handshake line holds the port back):
// that is a failed write too. After false the last error says why.
bool writeOnce(HANDLE port, const char* bytes, DWORD count) {
  OVERLAPPED write{};
  write.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (write.hEvent == nullptr) return false;
  bool completed = false;
  DWORD done = 0;
  if (WriteFile(port, bytes, count, &done, &write)) {
    completed = true;
  } else if (GetLastError() == ERROR_IO_PENDING) {
    completed = WaitForSingleObject(write.hEvent, INFINITE) == WAIT_OBJECT_0 &&
                GetOverlappedResult(port, &write, &done, FALSE);
  }
  DWORD error = GetLastError();
  CloseHandle(write.hEvent);
  if (completed && done != count) error = ERROR_TIMEOUT;
  SetLastError(error);
  return completed && done == count;
}

// A write that a line error aborted goes once more after the error is cleared.
bool writeBytes(HANDLE port, const char* bytes, DWORD count) {
  if (writeOnce(port, bytes, count)) return true;
  DWORD error = GetLastError();
  if (!clearedLineError(port, error)) {
    SetLastError(error);
    return false;
  }
  return writeOnce(port, bytes, count);
}
}  // namespace

bool writeFailureMeansLinkGone(DWORD error) {
  for (DWORD gone : kDeviceGoneErrors)
    if (error == gone) return true;
  return false;
}

void reportLinkLost(DWORD error, LPARAM connection) {
  PostMessageW(serialLink.notifyWindow, WM_LINK_LOST, error, connection);
}

bool writeSerialPort(HANDLE port, const wchar_t* text, int size) {
  if (port == nullptr || port == INVALID_HANDLE_VALUE || size < 1) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  if (!hasSingleByteForm(text)) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return false;
  }
  // The bytes go out in pieces converted on the stack, so that a write needs
  // no memory it could fail to get, whatever the length of a free text.
  char bytes[kWritePieceBytes];
  const int total = size - 1;
  const int length = text == nullptr ? 0 : static_cast<int>(wcsnlen(text, static_cast<size_t>(total)));
  for (int at = 0; at < total; at += kWritePieceBytes) {
    int count = total - at < kWritePieceBytes ? total - at : kWritePieceBytes;
    toSingleByte(at < length ? text + at : nullptr, count, bytes);
    if (!writeBytes(port, bytes, static_cast<DWORD>(count))) return false;
  }
  return true;
}

int closeSerialPort(HANDLE port) {
  ReleaseMutex(serialLink.stopMutex);
  --serialLink.readerCount;
  if (serialLink.readerThread != nullptr) {
    waitForReaderEnd(serialLink.readerThread);
    CloseHandle(serialLink.readerThread);
    serialLink.readerThread = nullptr;
  }
  // The ended reader leaves the mutex abandoned; taking it back counts all the same.
  WaitForSingleObject(serialLink.stopMutex, INFINITE);
  if (!CloseHandle(port)) return 1;
  serialLink.portOpen = FALSE;
  serialLink.serialHandle = nullptr;
  return 0;
}

DWORD WINAPI serialReader(LPVOID) {
  // Nothing here allocates or throws; the guard keeps any exception from
  // ending the process through the thread's start routine.
  try {
    HANDLE port = serialLink.serialHandle;
    const LPARAM connection = serialLink.connection;
    BurstAssembly burst;
    unsigned char raw[kRawBufferBytes];
    for (;;) {
      ReadResult read = readOnce(port, raw);
      if (read.stopped) return 0;
      if (read.error != 0 && !clearedLineError(port, read.error)) {
        // The device is gone: what came before the loss is still the unit's.
        finishBurst(burst, deliverBurst, nullptr);
        reportLinkLost(read.error, connection);
        return 0;
      }
      takeRead(burst, read.outcome, raw, read.got, deliverBurst, nullptr);
      if (stopRequested(read.got)) return 0;
    }
  } catch (...) {
    return 1;
  }
}
