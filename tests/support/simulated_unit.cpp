#include "tests/support/simulated_unit.h"

#include <winsock2.h>
#include <windows.h>

#include "tools/panel-driver/session_environment.h"

namespace {
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

bool sendToSim(const std::string& commands) {
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return false;
  bool sent = false;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(simTcpPort());
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (s != INVALID_SOCKET && connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
    sent = send(s, commands.data(), static_cast<int>(commands.size()), 0) == static_cast<int>(commands.size());
  if (s != INVALID_SOCKET) closesocket(s);
  WSACleanup();
  return sent;
}

std::vector<std::string> simTranscript() {
  std::wstring path = simTranscriptPath();
  std::string all = path.empty() ? std::string() : readWholeFile(path);
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
