#include "tests/win/support/links_support.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>

#include "links/serial_link.h"
#include "tests/win/support/test_support.h"

namespace {
constexpr const wchar_t* kRecorderClass = L"VrxLinksRxRecorder";

std::wstring environmentText(const char* variable) {
  const char* value = std::getenv(variable);
  if (value == nullptr) return {};
  return std::wstring(value, value + strlen(value));
}

}  // namespace

std::wstring rigFile(const wchar_t* name) {
  if (environmentText("VRX_RIG_DIR").empty()) return {};
  std::wstring path = L"Z:" + environmentText("VRX_RIG_DIR") + L"/" + name;
  for (wchar_t& unit : path) {
    if (unit == L'/') unit = L'\\';
  }
  return path;
}

RxRecorder::RxRecorder() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = proc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kRecorderClass;
  RegisterClassW(&windowClass);
  window_ = CreateWindowExW(0, kRecorderClass, L"rx", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

RxRecorder::~RxRecorder() {
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

LRESULT CALLBACK RxRecorder::proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* recorder = reinterpret_cast<RxRecorder*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (recorder != nullptr && message == WM_RX_TEXT) {
    RxDelivery delivery{reinterpret_cast<const wchar_t*>(lParam), wParam, {}};
    QueryPerformanceCounter(&delivery.handledAt);
    recorder->deliveries.push_back(delivery);
    if (recorder->onDelivery) recorder->onDelivery(delivery);
    return 0;
  }
  if (recorder != nullptr && message == WM_APP) {
    ++recorder->appMessages;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

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

std::wstring unplugPortName() { return environmentText("VRX_TEST_UNPLUG_PORT"); }
std::wstring unplugPeerName() { return environmentText("VRX_TEST_UNPLUG_PEER"); }

bool pullUnplugCable(int timeoutMs) {
  std::wstring request = rigFile(L"pair3.unplug");
  HANDLE file = CreateFileW(request.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return waitFor([&] { return GetFileAttributesW(request.c_str()) == INVALID_FILE_ATTRIBUTES; }, timeoutMs);
}

std::wstring wideBytes(const std::string& bytes) {
  std::wstring text;
  for (unsigned char byte : bytes) text += static_cast<wchar_t>(byte);
  return text;
}

double millisecondsBetween(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}
