#include "tools/panel-driver/rig_cable.h"

#include <windows.h>

#include <string>

#include "tools/panel-driver/session_environment.h"
#include "tools/panel-driver/waiting.h"

bool pullUnplugCable(double timeoutMs) {
  std::wstring request = rigFile(L"pair3.unplug");
  if (request.empty()) return false;
  HANDLE file = CreateFileW(request.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  // The rig's watcher deletes the request once the pair is back.
  return waitFor([&] { return GetFileAttributesW(request.c_str()) == INVALID_FILE_ATTRIBUTES; }, timeoutMs);
}
