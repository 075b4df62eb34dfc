// Starts an installed copy of the control panel, waits for its main window,
// closes it and reports what an installation test checks:
//
//   installed_program_check.exe PATH\vrx2600-control.exe
//
// prints "version x.y.z" (the program file's version record), "exit code N",
// then the program's standard output (the ports it lists). Exit code 0 when
// the window came up and the program closed with 0.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/panel-driver/program_process.h"

namespace {
std::string fileVersion(const std::wstring& path) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return "none";
  std::vector<char> record(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, record.data())) return "none";
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr)
    return "none";
  char text[64];
  std::snprintf(text, sizeof text, "%lu.%lu.%lu", static_cast<unsigned long>(HIWORD(fixed->dwFileVersionMS)),
                static_cast<unsigned long>(LOWORD(fixed->dwFileVersionMS)),
                static_cast<unsigned long>(HIWORD(fixed->dwFileVersionLS)));
  return text;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: installed_program_check PROGRAM.exe\n");
    return 2;
  }
  std::printf("version %s\n", fileVersion(argv[1]).c_str());
  ProgramProcess program(argv[1]);
  if (!program.started()) {
    std::printf("the main window did not appear\n");
    return 1;
  }
  int exitCode = program.close();
  std::printf("exit code %d\n%s", exitCode, program.standardOutput().c_str());
  return exitCode == 0 ? 0 : 1;
}
