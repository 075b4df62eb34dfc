#include "tools/bench/bench_peer.h"

#include <cstdlib>
#include <cstring>

bool openBenchPeer(BenchPeer& peer, const wchar_t* name) {
  peer.handle = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (peer.handle == INVALID_HANDLE_VALUE) return false;
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  GetCommState(peer.handle, &dcb);
  dcb.BaudRate = CBR_115200;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  SetCommState(peer.handle, &dcb);
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;   // reads return at once
  SetCommTimeouts(peer.handle, &timeouts);
  PurgeComm(peer.handle, PURGE_RXCLEAR | PURGE_TXCLEAR);
  return true;
}

void closeBenchPeer(BenchPeer& peer) {
  if (peer.handle != INVALID_HANDLE_VALUE) CloseHandle(peer.handle);
  peer.handle = INVALID_HANDLE_VALUE;
}

bool writeAll(BenchPeer& peer, const char* bytes, std::size_t count) {
  while (count > 0) {
    DWORD written = 0;
    if (!WriteFile(peer.handle, bytes, static_cast<DWORD>(count), &written, nullptr)) return false;
    if (written == 0) {
      Sleep(1);
      continue;
    }
    bytes += written;
    count -= written;
  }
  return true;
}

std::string readAvailable(BenchPeer& peer) {
  char buffer[4096];
  DWORD got = 0;
  if (!ReadFile(peer.handle, buffer, sizeof buffer, &got, nullptr)) return {};
  return std::string(buffer, got);
}

std::wstring portFromEnvironment(const char* variable, const wchar_t* fallback) {
  const char* value = std::getenv(variable);
  if (value == nullptr || *value == 0) return fallback;
  return std::wstring(value, value + std::strlen(value));
}
