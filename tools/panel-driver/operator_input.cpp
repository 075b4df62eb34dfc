#include "tools/panel-driver/operator_input.h"

#include <atomic>
#include <cstring>
#include <thread>

#include "tools/panel-driver/waiting.h"

void typeInto(HWND edit, const std::wstring& text) {
  SetFocus(edit);
  for (wchar_t unit : text) SendMessageW(edit, WM_CHAR, unit, 1);
}

void clickWithMouse(HWND window, int x, int y) {
  POINT point{x, y};
  ClientToScreen(window, &point);
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = (point.x * 65535 + width / 2) / (width - 1);
    input.mi.dy = (point.y * 65535 + height / 2) / (height - 1);
  }
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  SendInput(3, inputs, sizeof(INPUT));
}

namespace {
// The clipboard's memory belongs to the system once it is set.
bool putOnClipboard(HWND owner, const std::wstring& text) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool set = false;
  if (memory != nullptr) {
    void* data = GlobalLock(memory);
    if (data != nullptr) {
      std::memcpy(data, text.c_str(), bytes);
      GlobalUnlock(memory);
      set = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    if (!set) GlobalFree(memory);
  }
  CloseClipboard();
  return set;
}
}  // namespace

bool pasteInto(HWND edit, const std::wstring& text) {
  if (!putOnClipboard(GetAncestor(edit, GA_ROOT), text)) return false;
  SetFocus(edit);
  SendMessageW(edit, WM_PASTE, 0, 0);
  return true;
}

bool answersWhile(HWND window, const std::function<void()>& action, unsigned limitMs) {
  std::atomic<int> answered{-1};
  HANDLE begun = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (begun == nullptr) return false;
  // The probe's message waits until this thread handles sent messages again:
  // at once if the action is over, else when it has ended or given time.
  std::thread probe([&] {
    WaitForSingleObject(begun, INFINITE);
    DWORD_PTR ignored = 0;
    answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, limitMs, &ignored) != 0 ? 1 : 0;
  });
  SetEvent(begun);
  action();
  waitFor([&] { return answered != -1; }, 2.0 * limitMs);
  probe.join();
  CloseHandle(begun);
  return answered == 1;
}
