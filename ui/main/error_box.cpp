#include "ui/main/error_box.h"

#include <windows.h>
#include <strsafe.h>

#include <vector>

void showLastErrorBox(const wchar_t* operation) {
  // Read first: any later call may overwrite it.
  DWORD code = GetLastError();
  wchar_t* systemText = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                 reinterpret_cast<wchar_t*>(&systemText), 0, nullptr);
  const wchar_t* shown = systemText != nullptr ? systemText : L"";
  std::vector<wchar_t> message(wcslen(operation) + wcslen(shown) + 40, 0);
  StringCchPrintfW(message.data(), message.size(), L"%ls failed with error %d: %ls", operation,
                   static_cast<int>(code), shown);
  MessageBoxW(nullptr, message.data(), L"Error", MB_OK);
  if (systemText != nullptr) LocalFree(systemText);
}
