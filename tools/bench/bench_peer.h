#pragma once
// The unit's end of the cable for the benchmarks: a COM port opened plainly
// (no overlapped I/O), reads that return at once, writes without a time
// limit so that a slow reader on the other end holds the writer back instead
// of cutting its bytes.
#include <windows.h>

#include <cstddef>
#include <string>

struct BenchPeer {
  HANDLE handle = INVALID_HANDLE_VALUE;
};

bool openBenchPeer(BenchPeer& peer, const wchar_t* name);
void closeBenchPeer(BenchPeer& peer);

// Writes every byte, however many writes it takes; false when a write fails.
bool writeAll(BenchPeer& peer, const char* bytes, std::size_t count);
inline bool writeAll(BenchPeer& peer, const std::string& bytes) {
  return writeAll(peer, bytes.data(), bytes.size());
}

// What has arrived, without waiting.
std::string readAvailable(BenchPeer& peer);

// The COM name a test session gives through an environment variable.
std::wstring portFromEnvironment(const char* variable, const wchar_t* fallback);
