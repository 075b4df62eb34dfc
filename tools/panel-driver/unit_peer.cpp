#include "tools/panel-driver/unit_peer.h"

#include "links/port_path.h"
#include "tools/panel-driver/timing.h"
#include "tools/panel-driver/waiting.h"

namespace {
constexpr int kDrainReads = 100;
constexpr DWORD kQuietLookMs = 5;
}  // namespace

bool UnitPeer::open(const std::wstring& name) {
  close();
  // The unit's end may be numbered above 9, so it is opened as the program opens its ports.
  wchar_t path[kPortPathUnits];
  if (!portDevicePath(name.c_str(), path, kPortPathUnits)) return false;
  handle_ = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  GetCommState(handle_, &dcb);
  dcb.BaudRate = CBR_115200;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  SetCommState(handle_, &dcb);
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;   // reads return at once; writes wait as long as they take
  SetCommTimeouts(handle_, &timeouts);
  drain();
  return true;
}

void UnitPeer::close() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

bool UnitPeer::write(const char* bytes, std::size_t count) {
  while (count > 0) {
    DWORD written = 0;
    if (!WriteFile(handle_, bytes, static_cast<DWORD>(count), &written, nullptr)) return false;
    if (written == 0) {
      Sleep(1);
      continue;
    }
    bytes += written;
    count -= written;
  }
  return true;
}

std::string UnitPeer::readAvailable() {
  char buffer[4096];
  DWORD got = 0;
  if (!ReadFile(handle_, buffer, sizeof buffer, &got, nullptr)) return {};
  return std::string(buffer, got);
}

std::string UnitPeer::readAtLeast(std::size_t count, double timeoutMs) {
  std::string all;
  waitFor([&] {
    all += readAvailable();
    return all.size() >= count;
  }, timeoutMs);
  return all;
}

std::string UnitPeer::readUntilQuiet(double quietMs, double timeoutMs) {
  std::string all;
  double start = nowMs();
  double lastData = start;
  for (;;) {
    pumpMessages();
    std::string chunk = readAvailable();
    double now = nowMs();
    if (!chunk.empty()) {
      all += chunk;
      lastData = now;
    } else if (now - lastData >= quietMs) {
      return all;
    }
    if (now - start > timeoutMs) return all;
    Sleep(kQuietLookMs);
  }
}

void UnitPeer::drain() {
  for (int i = 0; i < kDrainReads && !readAvailable().empty(); ++i) {
  }
  PurgeComm(handle_, PURGE_RXCLEAR | PURGE_TXCLEAR);
}
