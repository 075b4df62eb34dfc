#include "ui/main/error_box.h"

#include <windows.h>
#include <strsafe.h>

#include <cwchar>
#include <memory>
#include <new>

void showLastErrorBox(HWND owner, const wchar_t* operation) {
  // Read first: any later call may overwrite it.
  DWORD code = GetLastError();
  wchar_t* systemText = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                 reinterpret_cast<wchar_t*>(&systemText), 0, nullptr);
  const wchar_t* shown = systemText != nullptr ? systemText : L"";
  std::size_t units = std::wcslen(operation) + std::wcslen(shown) + 40;
  std::unique_ptr<wchar_t[]> message(new (std::nothrow) wchar_t[units]());
  // Without memory for the whole text the operator still learns what failed.
  if (message != nullptr) {
    StringCchPrintfW(message.get(), units, L"%ls failed with error %d: %ls", operation, static_cast<int>(code),
                     shown);
  }
  MessageBoxW(owner, message != nullptr ? message.get() : operation, L"Error", MB_OK);
  if (systemText != nullptr) LocalFree(systemText);
}

void showNotice(HWND owner, const wchar_t* text, const wchar_t* caption) {
  if (owner != nullptr && IsIconic(owner)) ShowWindow(owner, SW_RESTORE);
  MessageBoxW(owner, text, caption, MB_OK | MB_ICONWARNING);
}

void systemErrorText(DWORD code, wchar_t* text, std::size_t units) {
  if (units == 0) return;
  text[0] = 0;
  wchar_t* systemText = nullptr;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                    FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                reinterpret_cast<wchar_t*>(&systemText), 0, nullptr);
  if (systemText == nullptr) return;
  // The text goes into a line of the panel's own: no CR LF or blank behind it.
  while (length > 0 && (systemText[length - 1] == L'\r' || systemText[length - 1] == L'\n' ||
                        systemText[length - 1] == L' '))
    --length;
  StringCchCopyNW(text, units, systemText, length);
  LocalFree(systemText);
}
