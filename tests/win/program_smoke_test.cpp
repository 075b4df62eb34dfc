// The built program as its own process: it lists the ports on standard
// output, shows its window and ends with exit code 0 when closed.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/win/support/test_support.h"

namespace {
std::wstring programPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path);
  return dir.substr(0, dir.find_last_of(L"\\/") + 1) + L"vrx2600-control.exe";
}

std::string readAll(HANDLE pipe) {
  std::string all;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) all.append(buffer, got);
  return all;
}

TEST(ProgramSmoke, ListsThePortsShowsItsWindowAndExitsWithZeroWhenClosed) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, &inherit, 0));
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::wstring path = programPath();
  std::wstring commandLine = L"\"" + path + L"\"";
  ASSERT_TRUE(CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                             &process))
      << GetLastError();
  CloseHandle(writeEnd);

  HWND window = nullptr;
  // The window is shown once it has been sized and centred.
  EXPECT_TRUE(waitFor([&] {
    window = FindWindowW(L"zaro", L"Tervane VRX 2600 Control");
    return window != nullptr && IsWindowVisible(window);
  }, 20000));
  if (window != nullptr) {
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 551);
    EXPECT_EQ(client.bottom, 278);
    PostMessageW(window, WM_CLOSE, 0, 0);
  } else {
    TerminateProcess(process.hProcess, 99);
  }
  ASSERT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u);
  std::string output = readAll(readEnd);
  EXPECT_NE(output.find("Registry method reports"), std::string::npos) << output;
  std::wstring port = testPortName();
  EXPECT_NE(output.find(std::string(port.begin(), port.end())), std::string::npos) << output;
  CloseHandle(readEnd);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}
}  // namespace
