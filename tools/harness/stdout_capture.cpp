#include "tools/harness/stdout_capture.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>

std::string captureStdout(const std::function<void()>& action) {
  wchar_t directory[MAX_PATH];
  wchar_t path[MAX_PATH];
  GetTempPathW(MAX_PATH, directory);
  GetTempFileNameW(directory, L"vrx", 0, path);
  fflush(stdout);
  int saved = _dup(_fileno(stdout));
  int file = _wopen(path, _O_WRONLY | _O_TRUNC | _O_TEXT);
  _dup2(file, _fileno(stdout));
  _close(file);
  action();
  fflush(stdout);
  _dup2(saved, _fileno(stdout));
  _close(saved);
  std::string bytes;
  FILE* written = _wfopen(path, L"rb");
  if (written != nullptr) {
    char buffer[4096];
    std::size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, written)) > 0) bytes.append(buffer, got);
    fclose(written);
  }
  DeleteFileW(path);
  return bytes;
}
