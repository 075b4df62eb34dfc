#include "tools/bench/box_watch.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {
constexpr DWORD kLookEveryMs = 50;

struct BoxWatch {
  std::atomic<bool> stop{false};
  std::thread thread;
  std::mutex lock;
  std::vector<std::wstring> boxes;
};
BoxWatch boxWatch;

BOOL CALLBACK dismissIfOwnBox(HWND window, LPARAM) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (process != GetCurrentProcessId() || lstrcmpW(className, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  wchar_t caption[128] = {}, text[1024] = {};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(caption), SMTO_ABORTIFHUNG, 2000, &ignored);
  SendMessageTimeoutW(GetDlgItem(window, 0xFFFF), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      2000, &ignored);
  std::wstring seen = std::wstring(caption) + L": " + text;
  while (!seen.empty() && (seen.back() == L'\n' || seen.back() == L'\r' || seen.back() == L' ')) seen.pop_back();
  {
    std::lock_guard<std::mutex> hold(boxWatch.lock);
    boxWatch.boxes.push_back(seen);
  }
  PostMessageW(window, WM_COMMAND, IDOK, 0);
  return TRUE;
}

void watchBoxes() {
  while (!boxWatch.stop) {
    EnumWindows(dismissIfOwnBox, 0);
    Sleep(kLookEveryMs);
  }
}
}  // namespace

void startBoxWatch() {
  if (boxWatch.thread.joinable()) return;
  boxWatch.stop = false;
  boxWatch.thread = std::thread(watchBoxes);
  // Ended before the record it uses goes away with the process.
  std::atexit(stopBoxWatch);
}

void stopBoxWatch() {
  boxWatch.stop = true;
  if (boxWatch.thread.joinable()) boxWatch.thread.join();
}

std::vector<std::wstring> dismissedBoxes() {
  std::lock_guard<std::mutex> hold(boxWatch.lock);
  return boxWatch.boxes;
}
