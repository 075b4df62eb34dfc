#include "tools/panel-driver/program_process.h"

#include <vector>

#include "tools/panel-driver/timing.h"
#include "tools/panel-driver/waiting.h"

namespace {
constexpr double kShowLimitMs = 30000;
constexpr DWORD kPipeBytes = 65536;   // the panel writes a few lines only: its port list
constexpr UINT kAnswerLimitMs = 5000;
constexpr DWORD kExitLimitMs = 5000;

// The folder of the running program, where the other programs are built.
std::wstring buildFolder() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/"));
}
}  // namespace

ProgramProcess::ProgramProcess(const wchar_t* program, const wchar_t* windowClass, const wchar_t* title) {
  // The pipe's buffer holds what the program writes until it is read.
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&outputPipe_, &writeEnd, &inherit, kPipeBytes)) return;
  SetHandleInformation(outputPipe_, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  // A name alone is a program of the build folder; a path (an installed copy)
  // is taken as it stands. Either runs in its own folder.
  std::wstring path = program;
  if (path.find_first_of(L"\\/:") == std::wstring::npos) path = buildFolder() + L"\\" + path;
  std::wstring folder = path.substr(0, path.find_last_of(L"\\/"));
  std::wstring command = L"\"" + path + L"\"";
  double start = nowMs();
  BOOL ok = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup,
                           &process_);
  CloseHandle(writeEnd);
  if (!ok) return;
  while (nowMs() - start < kShowLimitMs) {
    HWND window = FindWindowW(windowClass, title);
    if (window != nullptr && IsWindowVisible(window)) {
      shownAfterMs_ = nowMs() - start;
      mainWindow_ = window;
      break;
    }
    if (WaitForSingleObject(process_.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  // Once the window answers, its painting and its controls' is forced to
  // finish: an update of another process's window sends it WM_PAINT and waits.
  if (mainWindow_ != nullptr) {
    DWORD_PTR result;
    SendMessageTimeoutW(mainWindow_, WM_NULL, 0, 0, SMTO_BLOCK, kAnswerLimitMs, &result);
    RedrawWindow(mainWindow_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
}

ProgramProcess::~ProgramProcess() {
  if (process_.hProcess != nullptr) {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      if (mainWindow_ != nullptr) PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
      if (WaitForSingleObject(process_.hProcess, kExitLimitMs) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
  if (outputPipe_ != nullptr) CloseHandle(outputPipe_);
}

int ProgramProcess::close(int timeoutMs) {
  if (process_.hProcess == nullptr) return -1;
  PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return static_cast<int>(code);
}

std::string ProgramProcess::standardOutput() const {
  std::string all;
  char buffer[4096];
  DWORD got = 0;
  DWORD waiting = 0;
  while (PeekNamedPipe(outputPipe_, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0 &&
         ReadFile(outputPipe_, buffer, sizeof buffer, &got, nullptr) && got > 0)
    all.append(buffer, got);
  return all;
}

std::wstring windowText(HWND window) {
  LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1);
  SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  return text.data();
}

HWND waitForWindow(const wchar_t* className, const wchar_t* title, double timeoutMs) {
  HWND found = nullptr;
  waitFor([&] {
    found = FindWindowW(className, title);
    return found != nullptr && IsWindowVisible(found);
  }, timeoutMs);
  return found;
}
