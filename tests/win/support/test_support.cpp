#include "tests/win/support/test_support.h"

#include <cstdlib>
#include <vector>

void pumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool waitFor(const std::function<bool()>& done, int timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    pumpMessages();
    if (done()) return true;
    if (static_cast<int>(GetTickCount() - start) > timeoutMs) return done();
    MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void pumpFor(int ms) {
  waitFor([] { return false; }, ms);
}

namespace {
std::wstring fromEnvironment(const char* variable, const wchar_t* fallback) {
  const char* value = std::getenv(variable);
  if (value == nullptr || *value == 0) return fallback;
  return std::wstring(value, value + strlen(value));
}
}  // namespace

std::wstring testPortName() { return fromEnvironment("VRX_TEST_PORT", L"COM7"); }
std::wstring testPeerName() { return fromEnvironment("VRX_TEST_PEER", L"COM8"); }
std::wstring testPort2Name() { return fromEnvironment("VRX_TEST_PORT2", L"COM5"); }
std::wstring testPeer2Name() { return fromEnvironment("VRX_TEST_PEER2", L"COM6"); }

SerialPeer::SerialPeer(const std::wstring& name) {
  handle_ = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) return;
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  GetCommState(handle_, &dcb);
  dcb.BaudRate = 115200;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  SetCommState(handle_, &dcb);
  // Reads return at once with what is there.
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;
  timeouts.WriteTotalTimeoutConstant = 2000;
  SetCommTimeouts(handle_, &timeouts);
  drain();
}

SerialPeer::~SerialPeer() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

bool SerialPeer::write(const std::string& bytes) {
  DWORD written = 0;
  return WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

std::string SerialPeer::readSome() {
  char buffer[4096];
  DWORD got = 0;
  if (!ReadFile(handle_, buffer, sizeof buffer, &got, nullptr)) return {};
  return std::string(buffer, got);
}

std::string SerialPeer::readAtLeast(std::size_t count, int timeoutMs) {
  std::string all;
  waitFor([&] {
    all += readSome();
    return all.size() >= count;
  }, timeoutMs);
  return all;
}

std::string SerialPeer::readUntilQuiet(int quietMs, int timeoutMs) {
  std::string all;
  DWORD start = GetTickCount();
  DWORD lastData = start;
  for (;;) {
    pumpMessages();
    std::string chunk = readSome();
    DWORD now = GetTickCount();
    if (!chunk.empty()) {
      all += chunk;
      lastData = now;
    } else if (static_cast<int>(now - lastData) >= quietMs) {
      return all;
    }
    if (static_cast<int>(now - start) > timeoutMs) return all;
    Sleep(5);
  }
}

void SerialPeer::drain() {
  for (int i = 0; i < 100 && !readSome().empty(); ++i) {
  }
  PurgeComm(handle_, PURGE_RXCLEAR | PURGE_TXCLEAR);
}

std::wstring windowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1);
  GetWindowTextW(window, text.data(), length + 1);
  return text.data();
}

std::wstring controlText(HWND control) {
  LRESULT length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
  std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1);
  SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  return text.data();
}

COLORREF clientPixel(HWND window, int x, int y) {
  UpdateWindow(window);
  HDC dc = GetDC(window);
  COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

std::wstring menuItemText(HMENU menu, UINT id) {
  wchar_t text[256] = {};
  GetMenuStringW(menu, id, text, 256, MF_BYCOMMAND);
  return text;
}

UINT menuItemState(HMENU menu, UINT id) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE;
  if (!GetMenuItemInfoW(menu, id, FALSE, &info)) return 0xFFFFFFFF;
  return info.fState;
}

HWND findOwnWindow(const wchar_t* className, const wchar_t* title) {
  return FindWindowW(className, title);
}

std::string printable(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7f) {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    }
  }
  return out;
}
