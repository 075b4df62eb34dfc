#pragma once
// The unit's end of the line: a COM port opened plainly (no overlapped I/O)
// at 115200 8N1. Reads return at once with what is there; writes have no time
// limit, so a slow reader on the other end holds the writer back instead of
// cutting its bytes. Whatever an earlier run left on the line is thrown away
// on opening.
#include <windows.h>

#include <cstddef>
#include <string>

class UnitPeer {
 public:
  UnitPeer() = default;
  explicit UnitPeer(const std::wstring& name) { open(name); }
  ~UnitPeer() { close(); }
  UnitPeer(const UnitPeer&) = delete;
  UnitPeer& operator=(const UnitPeer&) = delete;

  // Closes an open port first; false when the port cannot be opened.
  bool open(const std::wstring& name);
  void close();
  bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

  // Writes every byte, however many writes it takes; false when a write fails.
  bool write(const char* bytes, std::size_t count);
  bool write(const std::string& bytes) { return write(bytes.data(), bytes.size()); }

  // What has arrived, without waiting.
  std::string readAvailable();
  // Reads until at least count bytes have come or timeoutMs has passed,
  // pumping this thread's messages meanwhile.
  std::string readAtLeast(std::size_t count, double timeoutMs = 5000);
  // Reads what arrives until the line has been quiet for quietMs.
  std::string readUntilQuiet(double quietMs = 300, double timeoutMs = 5000);
  // Throws away whatever is waiting.
  void drain();

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};
