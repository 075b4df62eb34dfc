#include "links/tcp_link.h"

#include <ws2tcpip.h>

#include <cstdio>
#include <memory>
#include <new>

#include "links/single_byte_text.h"

SOCKET tcpSocket = INVALID_SOCKET;

namespace {
constexpr const wchar_t* kUnitService = L"1024";

void dropConnection() {
  closesocket(tcpSocket);
  tcpSocket = INVALID_SOCKET;
  WSACleanup();
}

// The lines are diagnostics for a redirected standard output.
void reportSendFailure() {
  printf("send failed: %d\n", WSAGetLastError());
  fflush(stdout);
}
}  // namespace

int connectTcp(const wchar_t* host) {
  // A new connection replaces the old one, which would otherwise stay open
  // until the process ends.
  if (tcpSocket != INVALID_SOCKET) dropConnection();
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) {
    WSACleanup();
    return 2;
  }
  ADDRINFOW hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  ADDRINFOW* found = nullptr;
  if (GetAddrInfoW(host, kUnitService, &hints, &found) != 0) {
    WSACleanup();
    return 1;
  }
  tcpSocket = socket(found->ai_family, found->ai_socktype, found->ai_protocol);
  if (tcpSocket == INVALID_SOCKET) {
    printf("Error at socket(): %ld\n", static_cast<long>(WSAGetLastError()));
    fflush(stdout);
    FreeAddrInfoW(found);
    WSACleanup();
    return 3;
  }
  // Only the first address is tried.
  if (connect(tcpSocket, found->ai_addr, static_cast<int>(found->ai_addrlen)) == SOCKET_ERROR) {
    closesocket(tcpSocket);
    tcpSocket = INVALID_SOCKET;
  }
  FreeAddrInfoW(found);
  if (tcpSocket == INVALID_SOCKET) {
    printf("Unable to connect to server!\n");
    fflush(stdout);
    WSACleanup();
    return 4;
  }
  return 0;
}

int sendTcp(const wchar_t* text, int size) {
  if (size < 0) return 1;
  std::unique_ptr<char[]> bytes(new (std::nothrow) char[size > 0 ? size : 1]);
  if (!bytes || !toSingleByte(text, size, bytes.get())) return 1;
  // A short send leaves the rest of the command to later calls.
  int sent = 0;
  do {
    int now = send(tcpSocket, bytes.get() + sent, size - sent, 0);
    if (now == SOCKET_ERROR) {
      reportSendFailure();
      // Without a connection there is no Winsock start of ours to end.
      if (tcpSocket != INVALID_SOCKET) dropConnection();
      return 1;
    }
    sent += now;
  } while (sent < size);
  return 0;
}
