#include "tests/win/support/e2e_support.h"

#include <ws2tcpip.h>

#include <cstdlib>
#include <fstream>

#include "tests/win/support/test_support.h"

namespace {
std::wstring environment(const char* name, const wchar_t* fallback) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == 0) return fallback;
  return std::wstring(value, value + strlen(value));
}

// A Unix path as the prefix's Z: drive sees it.
std::wstring windowsPath(const std::wstring& unixPath) {
  std::wstring path = L"Z:" + unixPath;
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

std::string readWholeFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string all;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) all.append(buffer, got);
  CloseHandle(file);
  return all;
}
}  // namespace

std::wstring buildFolder() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

ProgramProcess::ProgramProcess(const std::wstring& programPath) {
  std::wstring program = programPath.empty() ? buildFolder() + L"\\vrx2600-control.exe" : programPath;
  std::wstring folder = program.substr(0, program.find_last_of(L"\\/"));
  // Standard output goes to a pipe; the program writes a few lines only, so
  // the pipe's buffer holds them until they are read.
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&outputPipe_, &writeEnd, &inherit, 65536)) return;
  SetHandleInformation(outputPipe_, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  std::wstring command = L"\"" + program + L"\"";
  BOOL ok = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                           &startup, &process_);
  CloseHandle(writeEnd);
  if (!ok) return;
  DWORD start = GetTickCount();
  while (GetTickCount() - start < 20000) {
    HWND window = FindWindowW(L"zaro", L"Tervane VRX 2600 Control");
    if (window != nullptr && IsWindowVisible(window)) {
      mainWindow_ = window;
      break;
    }
    if (WaitForSingleObject(process_.hProcess, 20) == WAIT_OBJECT_0) break;
  }
  // The first paint of every control has been done once the window answers.
  if (mainWindow_ != nullptr) {
    DWORD_PTR result;
    SendMessageTimeoutW(mainWindow_, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result);
    Sleep(200);
  }
}

ProgramProcess::~ProgramProcess() {
  if (process_.hProcess != nullptr) {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      if (mainWindow_ != nullptr) PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
      if (WaitForSingleObject(process_.hProcess, 5000) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
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

int registryPortIndex(const std::wstring& name) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return -1;
  int found = -1;
  int listed = 0;
  for (DWORD index = 0;; ++index) {
    wchar_t valueName[256];
    DWORD nameLength = 256;
    wchar_t data[256] = {};
    DWORD dataBytes = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    if (RegEnumValueW(key, index, valueName, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataBytes) !=
        ERROR_SUCCESS)
      break;
    if (type != REG_SZ) continue;
    if (found < 0 && name == data) found = listed;
    ++listed;
  }
  RegCloseKey(key);
  return found;
}

std::wstring simPortName() { return environment("VRX_SIM_PORT", L"COM2"); }

bool sendToSim(const std::string& commands) {
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return false;
  bool sent = false;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  const char* port = std::getenv("VRX_SIM_TCP_PORT");
  address.sin_port = htons(static_cast<u_short>(std::atoi(port != nullptr ? port : "10240")));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (s != INVALID_SOCKET && connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
    sent = send(s, commands.data(), static_cast<int>(commands.size()), 0) == static_cast<int>(commands.size());
  if (s != INVALID_SOCKET) closesocket(s);
  WSACleanup();
  return sent;
}

std::vector<std::string> simTranscript() {
  std::string all = readWholeFile(windowsPath(environment("VRX_SIM_TRANSCRIPT", L"/nonexistent")));
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < all.size()) {
    std::size_t end = all.find('\n', start);
    if (end == std::string::npos) break;   // a line still being written
    std::string line = all.substr(start, end - start);
    std::size_t blank = line.find(' ');
    lines.push_back(blank == std::string::npos ? line : line.substr(blank + 1));
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> simReceivedSince(std::size_t skip) {
  std::vector<std::string> all = simTranscript();
  std::vector<std::string> received;
  for (std::size_t i = skip; i < all.size(); ++i)
    if (all[i].rfind("rx ", 0) == 0) received.push_back(all[i].substr(3));
  return received;
}

HWND waitForWindow(const wchar_t* className, const wchar_t* title, int timeoutMs) {
  HWND found = nullptr;
  waitFor([&] {
    found = FindWindowW(className, title);
    return found != nullptr && IsWindowVisible(found);
  }, timeoutMs);
  return found;
}

namespace {
struct ChildSearch {
  const wchar_t* className;
  POINT at;
  HWND found;
};

BOOL CALLBACK matchChild(HWND child, LPARAM data) {
  auto* search = reinterpret_cast<ChildSearch*>(data);
  wchar_t name[64];
  GetClassNameW(child, name, 64);
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  if (lstrcmpiW(name, search->className) == 0 && rect.left == search->at.x && rect.top == search->at.y) {
    search->found = child;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND childAt(HWND parent, const wchar_t* className, int x, int y) {
  ChildSearch search{className, {x, y}, nullptr};
  EnumChildWindows(parent, matchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

COLORREF screenPixelAt(HWND window, int x, int y) {
  POINT point{x, y};
  ClientToScreen(window, &point);
  HDC screen = GetDC(nullptr);
  COLORREF colour = GetPixel(screen, point.x, point.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

double paintedTextDifference(HWND window, int x, int y, const std::wstring& text) {
  HFONT font = CreateFontW(16, 6, 0, 0, 600, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ oldFont = SelectObject(memory, font);
  SIZE size;
  GetTextExtentPoint32W(memory, text.c_str(), static_cast<int>(text.size()), &size);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  SetTextColor(memory, RGB(0, 0, 0));
  SetBkColor(memory, RGB(238, 238, 238));
  TextOutW(memory, 0, 0, text.c_str(), static_cast<int>(text.size()));
  POINT origin{x, y};
  ClientToScreen(window, &origin);
  int differing = 0;
  for (int row = 0; row < size.cy; ++row)
    for (int column = 0; column < size.cx; ++column)
      if (GetPixel(memory, column, row) != GetPixel(screen, origin.x + column, origin.y + row)) ++differing;
  SelectObject(memory, oldBitmap);
  SelectObject(memory, oldFont);
  DeleteObject(bitmap);
  DeleteObject(font);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return size.cx * size.cy == 0 ? 1.0 : static_cast<double>(differing) / (size.cx * size.cy);
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
