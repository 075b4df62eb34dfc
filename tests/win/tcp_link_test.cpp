// The TCP link against a listener of the test's own on 127.0.0.1:1024, the
// port the link always uses. Real sockets; the bytes that arrive are checked.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "links/tcp_link.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>


namespace {
constexpr const char* kUnableLine = "Unable to connect to server!\n";

bool readable(SOCKET socket, int timeoutMs) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(socket, &set);
  timeval wait{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  return select(0, &set, nullptr, nullptr, &wait) == 1;
}

// Reads until count bytes have come, the peer has closed, or 5 s have passed.
std::string receive(SOCKET socket, std::size_t count) {
  std::string all;
  char buffer[4096];
  while (all.size() < count && readable(socket, 5000)) {
    int got = recv(socket, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    all.append(buffer, static_cast<std::size_t>(got));
  }
  return all;
}

// What the link writes to standard output while the action runs.
std::string outputOf(const std::function<void()>& action) {
  testing::internal::CaptureStdout();
  action();
  std::fflush(stdout);
  return testing::internal::GetCapturedStdout();
}

bool isSendFailedLine(const std::string& line) {
  const std::string head = "send failed: ";
  if (line.size() < head.size() + 2 || line.compare(0, head.size(), head) != 0) return false;
  if (line.back() != '\n') return false;
  std::string code = line.substr(head.size(), line.size() - head.size() - 1);
  return !code.empty() && code.find_first_not_of("0123456789") == std::string::npos;
}

class TcpLinkTest : public testing::Test {
 protected:
  void SetUp() override {
    WSADATA wsa;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
    tcpSocket = INVALID_SOCKET;
    listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    ASSERT_NE(listener, INVALID_SOCKET);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(1024);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      FAIL() << "127.0.0.1:1024, the unit's port, is taken by another program (error " << WSAGetLastError()
             << "); the TCP link's tests need it free";
    }
  }
  void TearDown() override {
    for (SOCKET peer : {peerA, peerB}) {
      if (peer != INVALID_SOCKET) closesocket(peer);
    }
    if (listener != INVALID_SOCKET) closesocket(listener);
    if (tcpSocket != INVALID_SOCKET) closesocket(tcpSocket);
    WSACleanup();
  }
  void listenForUnit() { ASSERT_EQ(listen(listener, 4), 0); }
  SOCKET acceptUnit() {
    if (!readable(listener, 5000)) return INVALID_SOCKET;
    return accept(listener, nullptr, nullptr);
  }
  // By name: the host is resolved as an operator would type it.
  void connectUnit() {
    listenForUnit();
    ASSERT_EQ(connectTcp(L"localhost"), 0);
    peerA = acceptUnit();
    ASSERT_NE(peerA, INVALID_SOCKET);
  }

  SOCKET listener = INVALID_SOCKET;
  SOCKET peerA = INVALID_SOCKET;
  SOCKET peerB = INVALID_SOCKET;
};

struct SendCase {
  const char* name;
  const wchar_t* text;
  int size;
  std::string wire;
};
void PrintTo(const SendCase& value, std::ostream* out) { *out << value.name; }

class TcpSendTest : public TcpLinkTest, public testing::WithParamInterface<SendCase> {};

TEST_P(TcpSendTest, SendsTheTextThenZerosUpToSize) {
  connectUnit();
  EXPECT_EQ(sendTcp(GetParam().text, GetParam().size), 0);
  EXPECT_EQ(receive(peerA, GetParam().wire.size()), GetParam().wire);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TcpSendTest,
    testing::Values(SendCase{"CommandAndItsTerminator", L"R SOURCE.", 10, std::string("R SOURCE.\0", 10)},
                    SendCase{"PaddedWithZeros", L"<SIPR[1-2-3-4]>", 25,
                             std::string("<SIPR[1-2-3-4]>") + std::string(10, '\0')}),
    [](const testing::TestParamInfo<SendCase>& info) { return std::string(info.param.name); });

TEST_F(TcpLinkTest, TextWithoutSingleByteFormSendsNothingAndKeepsTheConnection) {
  connectUnit();
  std::string out = outputOf([] { EXPECT_EQ(sendTcp(L"R \u0100.", 5), 1); });
  EXPECT_EQ(out, "");
  EXPECT_NE(tcpSocket, INVALID_SOCKET);
  // The next send is the first thing the unit gets.
  EXPECT_EQ(sendTcp(L"OK", 3), 0);
  EXPECT_EQ(receive(peerA, 3), std::string("OK\0", 3));
}

struct ConnectFailureCase {
  const char* name;
  const wchar_t* host;
  int code;
  std::string out;
};
void PrintTo(const ConnectFailureCase& value, std::ostream* out) { *out << value.name; }

class TcpConnectFailureTest : public TcpLinkTest, public testing::WithParamInterface<ConnectFailureCase> {};

TEST_P(TcpConnectFailureTest, ReportsTheFailingStep) {
  // The port is bound here but nothing listens: a connection is refused.
  int code = -1;
  std::string out = outputOf([&] { code = connectTcp(GetParam().host); });
  EXPECT_EQ(code, GetParam().code);
  EXPECT_EQ(out, GetParam().out);
  EXPECT_EQ(tcpSocket, INVALID_SOCKET);
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, TcpConnectFailureTest,
    testing::Values(ConnectFailureCase{"Refused", L"127.0.0.1", 4, kUnableLine},
                    ConnectFailureCase{"Unresolvable", L"no-such-host.invalid", 1, ""}),
    [](const testing::TestParamInfo<ConnectFailureCase>& info) { return std::string(info.param.name); });

TEST_F(TcpLinkTest, SendAfterThePeerResetDropsTheConnection) {
  connectUnit();
  linger abort{1, 0};
  setsockopt(peerA, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
  closesocket(peerA);
  peerA = INVALID_SOCKET;
  // The reset makes this end readable once it has come back.
  ASSERT_TRUE(readable(tcpSocket, 5000));
  int result = 0;
  std::string out = outputOf([&] { result = sendTcp(L"R SOURCE.", 10); });
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(isSendFailedLine(out)) << out;
  EXPECT_EQ(tcpSocket, INVALID_SOCKET);
  // Not connected: every later send fails the same way.
  out = outputOf([] { EXPECT_EQ(sendTcp(L"R SOURCE.", 10), 1); });
  EXPECT_TRUE(isSendFailedLine(out)) << out;
}

TEST_F(TcpLinkTest, ReconnectClosesTheOldConnection) {
  connectUnit();
  ASSERT_EQ(connectTcp(L"127.0.0.1"), 0);
  peerB = acceptUnit();
  ASSERT_NE(peerB, INVALID_SOCKET);
  // The old connection's end sees the orderly close.
  ASSERT_TRUE(readable(peerA, 5000));
  char byte;
  EXPECT_EQ(recv(peerA, &byte, 1, 0), 0);
  EXPECT_EQ(sendTcp(L"R AUDIO.", 9), 0);
  EXPECT_EQ(receive(peerB, 9), std::string("R AUDIO.\0", 9));
}
}  // namespace
