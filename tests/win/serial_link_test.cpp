// The serial link on the rig's pty pair: the program's end is the test port,
// the unit is played on the peer port. Real bytes, real reader thread, real
// window receiving the bursts.
#include "links/serial_link.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/import_patch.h"
#include "tests/support/panel_fixtures.h"
#include "tools/panel-driver/rig_cable.h"
#include "tools/panel-driver/rx_recorder.h"
#include "tools/panel-driver/timing.h"

namespace {
// A duplicate of the reader's handle, to see it end after close has
// released and forgotten its own.
HANDLE duplicateReader() {
  HANDLE copy = nullptr;
  if (serialLink.readerThread == nullptr) return nullptr;
  DuplicateHandle(GetCurrentProcess(), serialLink.readerThread, GetCurrentProcess(), &copy, SYNCHRONIZE, FALSE, 0);
  return copy;
}

bool threadEnded(HANDLE thread) { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }

// True when a thread other than this one cannot take the stop mutex now.
bool stopMutexHeldElsewhere() {
  DWORD result = WAIT_FAILED;
  std::thread probe([&] {
    result = WaitForSingleObject(serialLink.stopMutex, 0);
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) ReleaseMutex(serialLink.stopMutex);
  });
  probe.join();
  return result == WAIT_TIMEOUT;
}

// A small real window of this thread for the link to send its bursts to.
HWND newReceiver() {
  return CreateWindowExW(0, L"STATIC", L"rx", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

class SerialLinkTest : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    initSerialLink();
    peer = std::make_unique<UnitPeer>(testPeerName());
    ASSERT_TRUE(peer->isOpen()) << "peer port, error " << GetLastError();
  }
  void TearDown() override {
    if (serialLink.portOpen) closeSerialPort(serialLink.serialHandle);
    PanelTest::TearDown();
  }
  void openLink() {
    ASSERT_EQ(openSerialPort(testPortName().c_str(), rx.window()), 0) << "error " << GetLastError();
    ASSERT_EQ(configureSerialPort(serialLink.serialHandle), 0);
  }
  bool waitForDeliveries(std::size_t count, int timeoutMs = 5000) {
    return waitFor([&] { return rx.deliveries.size() >= count; }, timeoutMs);
  }

  RxRecorder rx{newReceiver()};
  std::unique_ptr<UnitPeer> peer;
};

struct WriteCase {
  const char* name;
  const wchar_t* text;
  int size;
  bool written;
  std::string wire;
};
void PrintTo(const WriteCase& value, std::ostream* out) { *out << value.name; }

class SerialWriteTest : public SerialLinkTest, public testing::WithParamInterface<WriteCase> {};

// A one-byte write after the one under test marks where its bytes end.
TEST_P(SerialWriteTest, PutsExactlyTheseBytesOnTheLine) {
  openLink();
  const WriteCase& write = GetParam();
  EXPECT_EQ(writeSerialPort(serialLink.serialHandle, write.text, write.size), write.written);
  ASSERT_TRUE(writeSerialPort(serialLink.serialHandle, L"|", 2));
  std::string expected = write.wire + "|";
  EXPECT_EQ(printable(peer->readAtLeast(expected.size())), printable(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SerialWriteTest,
    testing::Values(WriteCase{"CommandWithoutTerminator", L"R SOURCE.", 10, true, "R SOURCE."},
                    WriteCase{"PaddedWithZeros", L"<SIPR[1-2-3-4]>", 25, true,
                              std::string("<SIPR[1-2-3-4]>") + std::string(9, '\0')},
                    WriteCase{"ShortTextInLargerBuffer", L"Contrast*", 12, true, std::string("Contrast*\0\0", 11)},
                    WriteCase{"LatinOneUnitGoesOutAsItsByte", L"caf\u00e9\u00ff", 6, true, "caf\xE9\xFF"},
                    WriteCase{"UnitWithoutSingleByteFormSendsNothing", L"R \u0100.", 5, false, ""},
                    WriteCase{"SizeOneWritesNoByte", L"", 1, true, ""}),
    [](const testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

TEST_F(SerialLinkTest, WriteWithoutAnOpenPortFailsAndSendsNothing) {
  openLink();
  ASSERT_EQ(closeSerialPort(serialLink.serialHandle), 0);
  EXPECT_EQ(serialLink.serialHandle, nullptr);
  EXPECT_FALSE(writeSerialPort(serialLink.serialHandle, L"R SOURCE.", 10));
}

TEST_F(SerialLinkTest, ConfigureSetsTheUnitsLineAndTimeouts) {
  openLink();
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  ASSERT_TRUE(GetCommState(serialLink.serialHandle, &dcb));
  EXPECT_EQ(dcb.BaudRate, 115200u);
  EXPECT_EQ(dcb.ByteSize, 8);
  EXPECT_EQ(dcb.Parity, NOPARITY);
  EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
  COMMTIMEOUTS timeouts{};
  ASSERT_TRUE(GetCommTimeouts(serialLink.serialHandle, &timeouts));
  EXPECT_EQ(timeouts.ReadIntervalTimeout, 3u);
  EXPECT_EQ(timeouts.ReadTotalTimeoutMultiplier, 0u);
  EXPECT_EQ(timeouts.ReadTotalTimeoutConstant, 2u);
  EXPECT_EQ(timeouts.WriteTotalTimeoutMultiplier, 3u);
  EXPECT_EQ(timeouts.WriteTotalTimeoutConstant, 2u);
  EXPECT_EQ(configureSerialPort(nullptr), 2);
}

struct QueueRequest {
  HANDLE port = nullptr;
  DWORD inputBytes = 0;
  DWORD outputBytes = 0;
};
QueueRequest queueRequest;
BOOL WINAPI refuseQueueSizes(HANDLE port, DWORD inputBytes, DWORD outputBytes) {
  queueRequest = {port, inputBytes, outputBytes};
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

// The driver is asked to hold over five seconds of the unit's input while the
// reader waits in a delivery (its own queue is often 4 KB); a driver that
// keeps its own sizes still leaves the line configured.
TEST_F(SerialLinkTest, ConfigureAsksTheDriverForALargeInputQueue) {
  ASSERT_EQ(openSerialPort(testPortName().c_str(), rx.window()), 0) << "error " << GetLastError();
  queueRequest = {};
  {
    ImportPatch queue("kernel32.dll", "SetupComm", reinterpret_cast<const void*>(refuseQueueSizes));
    ASSERT_TRUE(queue.active());
    EXPECT_EQ(configureSerialPort(serialLink.serialHandle), 0);
  }
  EXPECT_EQ(queueRequest.port, serialLink.serialHandle);
  EXPECT_EQ(queueRequest.inputBytes, 65536u);
  EXPECT_EQ(queueRequest.outputBytes, 4096u);
}

// What the unit sends, in writes some milliseconds apart, and the bursts the
// window must receive.
struct ReplyCase {
  const char* name;
  std::vector<std::string> writes;
  int gapMs;
  std::vector<std::pair<std::wstring, WPARAM>> expected;
};
void PrintTo(const ReplyCase& value, std::ostream* out) { *out << value.name; }

class SerialReaderTest : public SerialLinkTest, public testing::WithParamInterface<ReplyCase> {};

// The gaps between the unit's writes shape the input: a gap far longer than
// a reader cycle (a read and a 75 ms poll) ends a burst, and a loaded machine
// only makes it longer. How reads of one burst are pieced together is the
// burst assembly's part, checked natively without any timing. A reply written
// once the expected bursts have come marks that nothing else came with them.
TEST_P(SerialReaderTest, DeliversTheReplyAsBursts) {
  openLink();
  const ReplyCase& reply = GetParam();
  for (std::size_t i = 0; i < reply.writes.size(); ++i) {
    if (i > 0) Sleep(static_cast<DWORD>(reply.gapMs));
    ASSERT_TRUE(peer->write(reply.writes[i]));
  }
  ASSERT_TRUE(waitForDeliveries(reply.expected.size()));
  ASSERT_TRUE(peer->write("END"));
  ASSERT_TRUE(waitForDeliveries(reply.expected.size() + 1));
  std::vector<std::pair<std::wstring, WPARAM>> got;
  for (const RxDelivery& delivery : rx.deliveries) got.emplace_back(delivery.text, delivery.count);
  std::vector<std::pair<std::wstring, WPARAM>> expected = reply.expected;
  expected.emplace_back(L"END", 3);
  EXPECT_EQ(got, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, SerialReaderTest,
    testing::Values(ReplyCase{"TwoBytesInOneBurst", {"OK"}, 0, {{L"OK", 2}}},
                    ReplyCase{"ZeroByteIsSkippedButCounts", {std::string("AB\0CD", 5)}, 0, {{L"ABCD", 5}}},
                    ReplyCase{"RepliesFarApartAreSeparateBursts", {"ONE\r\n", "TWO\r\n"}, 400,
                              {{L"ONE\r\n", 5}, {L"TWO\r\n", 5}}}),
    [](const testing::TestParamInfo<ReplyCase>& info) { return std::string(info.param.name); });

// Empty reads alone never deliver: after some idle cycles (the window is an
// observation, nothing waits on it) the first delivery is the unit's reply.
TEST_F(SerialLinkTest, SilentLineDeliversNothing) {
  openLink();
  pumpFor(400);
  ASSERT_TRUE(peer->write("OK"));
  ASSERT_TRUE(waitForDeliveries(1));
  EXPECT_EQ(rx.deliveries[0].text, L"OK");
}

// Counts the reader's reads; the real ReadFile is called by its address, as
// this program's own import of it is the one patched.
std::atomic<int> readsSeen{0};
BOOL WINAPI countedReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD got, LPOVERLAPPED overlapped) {
  static const auto realReadFile = reinterpret_cast<decltype(&ReadFile)>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "ReadFile")));
  ++readsSeen;
  return realReadFile(file, buffer, size, got, overlapped);
}

// The link's time-outs replaced by ones that end a read only when its 1024
// bytes are there, so that the reader's first read never ends.
BOOL WINAPI timeoutsThatNeverEnd(HANDLE port, LPCOMMTIMEOUTS) {
  static const auto realSetCommTimeouts = reinterpret_cast<decltype(&SetCommTimeouts)>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetCommTimeouts")));
  COMMTIMEOUTS forever{};
  return realSetCommTimeouts(port, &forever);
}

TEST_F(SerialLinkTest, CloseStopsAReaderWhoseReadWouldNeverEnd) {
  {
    ImportPatch forever("kernel32.dll", "SetCommTimeouts", reinterpret_cast<const void*>(timeoutsThatNeverEnd));
    ImportPatch counting("kernel32.dll", "ReadFile", reinterpret_cast<const void*>(countedReadFile));
    ASSERT_TRUE(forever.active() && counting.active());
    readsSeen = 0;
    openLink();
    ASSERT_TRUE(waitFor([] { return readsSeen > 0; }));   // the read that never ends has started
  }
  HANDLE reader = duplicateReader();
  ASSERT_NE(reader, nullptr);
  EXPECT_FALSE(threadEnded(reader));
  EXPECT_EQ(closeSerialPort(serialLink.serialHandle), 0);
  EXPECT_TRUE(threadEnded(reader));
  EXPECT_TRUE(stopMutexHeldElsewhere());
  EXPECT_FALSE(serialLink.portOpen);
  CloseHandle(reader);
  // The link is usable again.
  openLink();
  ASSERT_TRUE(peer->write("again"));
  ASSERT_TRUE(waitForDeliveries(1));
  EXPECT_EQ(rx.deliveries[0].text, L"again");
}

TEST_F(SerialLinkTest, CloseHandlesTheDeliveryItsReaderIsBlockedIn) {
  openLink();
  bool closing = false;
  bool handledWhileClosing = false;
  rx.onDelivery = [&](const RxDelivery&) { handledWhileClosing = closing; };
  ASSERT_TRUE(peer->write("HELLO"));
  // This thread handles no messages now: the reader reads the reply and
  // blocks in its send, which then waits in this thread's queue.
  double deadline = nowMs() + 5000;
  while (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) == 0 && nowMs() < deadline) Sleep(5);
  ASSERT_NE(HIWORD(GetQueueStatus(QS_SENDMESSAGE)), 0) << "the reader never sent its burst";
  EXPECT_TRUE(rx.deliveries.empty());
  HANDLE reader = duplicateReader();
  closing = true;
  EXPECT_EQ(closeSerialPort(serialLink.serialHandle), 0);
  closing = false;
  EXPECT_TRUE(threadEnded(reader));
  CloseHandle(reader);
  ASSERT_EQ(rx.deliveries.size(), 1u);
  EXPECT_EQ(rx.deliveries[0].text, L"HELLO");
  EXPECT_EQ(rx.deliveries[0].count, 5u);
  EXPECT_TRUE(handledWhileClosing);
  EXPECT_TRUE(stopMutexHeldElsewhere());
}

// Close at varied moments of a reply: while this thread pumps (the delivery
// is handled at once) and while it sleeps without pumping (the reader is left
// blocked in its send), so that close meets the reader in every state.
TEST_F(SerialLinkTest, CloseRacesWithReadsAndDeliveries) {
  for (int round = 0; round < 12; ++round) {
    openLink();
    HANDLE reader = duplicateReader();
    ASSERT_TRUE(peer->write("xyz" + std::to_string(round)));
    if (round % 3 == 1) Sleep(10 * round);
    else pumpFor(9 * round);
    ASSERT_EQ(closeSerialPort(serialLink.serialHandle), 0) << "round " << round;
    EXPECT_TRUE(threadEnded(reader)) << "round " << round;
    CloseHandle(reader);
    EXPECT_EQ(serialLink.readerCount, 0);
  }
  EXPECT_TRUE(stopMutexHeldElsewhere());
}

struct ReaderLimitCase {
  LONG countBefore;
  bool readerStarts;
};
void PrintTo(const ReaderLimitCase& value, std::ostream* out) { *out << "readers before " << value.countBefore; }

class SerialReaderLimitTest : public SerialLinkTest, public testing::WithParamInterface<ReaderLimitCase> {};

TEST_P(SerialReaderLimitTest, StartsAReaderOnlyBelowFour) {
  serialLink.readerCount = GetParam().countBefore;
  openLink();
  EXPECT_EQ(serialLink.portOpen, TRUE);
  EXPECT_EQ(serialLink.readerThread != nullptr, GetParam().readerStarts);
  EXPECT_EQ(serialLink.readerCount, GetParam().countBefore + (GetParam().readerStarts ? 1 : 0));
  // Without a reader nothing reads the line; with one the reply arrives.
  if (GetParam().readerStarts) {
    ASSERT_TRUE(peer->write("OK"));
    ASSERT_TRUE(waitForDeliveries(1));
  }
  EXPECT_EQ(closeSerialPort(serialLink.serialHandle), 0);
  EXPECT_EQ(serialLink.readerCount, GetParam().countBefore + (GetParam().readerStarts ? 0 : -1));
  EXPECT_TRUE(stopMutexHeldElsewhere());
}

INSTANTIATE_TEST_SUITE_P(Counts, SerialReaderLimitTest,
                         testing::Values(ReaderLimitCase{0, true}, ReaderLimitCase{3, true},
                                         ReaderLimitCase{4, false}));

TEST_F(SerialLinkTest, OpenFailsForAMissingPortButTakesTheWindow) {
  RxRecorder other(newReceiver());
  serialLink.notifyWindow = rx.window();
  EXPECT_EQ(openSerialPort(L"\\\\.\\COM199", other.window()), 1);
  EXPECT_EQ(serialLink.notifyWindow, other.window());
  EXPECT_FALSE(serialLink.portOpen);
  EXPECT_EQ(serialLink.serialHandle, nullptr);
  EXPECT_EQ(serialLink.readerThread, nullptr);
}

HANDLE WINAPI failToStartThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD) {
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return nullptr;
}

// A port that no reader would read is closed again and reported as not opened.
TEST_F(SerialLinkTest, AReaderThatCannotStartFailsTheOpen) {
  {
    ImportPatch threads("kernel32.dll", "CreateThread", reinterpret_cast<const void*>(failToStartThread));
    ASSERT_TRUE(threads.active());
    EXPECT_EQ(openSerialPort(testPortName().c_str(), rx.window()), 1);
  }
  EXPECT_FALSE(serialLink.portOpen);
  EXPECT_EQ(serialLink.serialHandle, nullptr);
  EXPECT_EQ(serialLink.readerCount, 0);
  EXPECT_EQ(serialLink.readerThread, nullptr);
  // Its handle went back: the port opens again, this time with its reader.
  openLink();
  ASSERT_TRUE(peer->write("OK"));
  ASSERT_TRUE(waitForDeliveries(1));
  EXPECT_EQ(rx.deliveries[0].text, L"OK");
}

TEST_F(SerialLinkTest, LongPortNameOpensWholeAndIsKeptCut) {
  // The program's end of the pty pair by its path through drive Z:, a name
  // far longer than the 15 units kept.
  std::wstring path = rigFile(L"pair1-a");
  if (path.empty()) GTEST_SKIP() << "no test rig directory";
  ASSERT_GT(path.size(), 15u);
  ASSERT_EQ(openSerialPort(path.c_str(), rx.window()), 0) << "error " << GetLastError();
  EXPECT_EQ(std::wstring(serialLink.openPortName), path.substr(0, 15));
  ASSERT_EQ(configureSerialPort(serialLink.serialHandle), 0);
  ASSERT_TRUE(peer->write("long"));
  ASSERT_TRUE(waitForDeliveries(1));
  EXPECT_EQ(rx.deliveries[0].text, L"long");
}

// The cable is pulled: the reader hands over what came before, posts one loss
// report for its connection, and ends by itself. The port still closes
// through the link, and once the pair is back a new open works end to end.
TEST_F(SerialLinkTest, APulledCableEndsTheReaderWithOneLossReport) {
  if (unplugPortName().empty()) GTEST_SKIP() << "the rig has no pair whose cable can be pulled";
  auto unit = std::make_unique<UnitPeer>(unplugPeerName());
  ASSERT_TRUE(unit->isOpen());
  ASSERT_EQ(openSerialPort(unplugPortName().c_str(), rx.window()), 0);
  ASSERT_EQ(configureSerialPort(serialLink.serialHandle), 0);
  const LPARAM connection = serialLink.connection;
  HANDLE reader = duplicateReader();
  ASSERT_TRUE(unit->write("before"));
  ASSERT_TRUE(waitForDeliveries(1));
  unit.reset();
  ASSERT_TRUE(pullUnplugCable()) << "the rig did not bring the pair back";

  ASSERT_TRUE(waitFor([&] { return !rx.linkLosses.empty(); }));
  ASSERT_TRUE(waitFor([&] { return threadEnded(reader); }));
  CloseHandle(reader);
  pumpMessages();
  ASSERT_EQ(rx.linkLosses.size(), 1u);
  EXPECT_EQ(rx.linkLosses[0].first, static_cast<WPARAM>(ERROR_BROKEN_PIPE));
  EXPECT_EQ(rx.linkLosses[0].second, connection);
  EXPECT_EQ(rx.deliveries.size(), 1u);
  EXPECT_EQ(closeSerialPort(serialLink.serialHandle), 0);
  EXPECT_TRUE(stopMutexHeldElsewhere());

  unit = std::make_unique<UnitPeer>(unplugPeerName());
  ASSERT_TRUE(unit->isOpen());
  ASSERT_EQ(openSerialPort(unplugPortName().c_str(), rx.window()), 0);
  EXPECT_NE(serialLink.connection, connection);
  ASSERT_EQ(configureSerialPort(serialLink.serialHandle), 0);
  ASSERT_TRUE(unit->write("after"));
  ASSERT_TRUE(waitForDeliveries(2));
  EXPECT_EQ(rx.deliveries[1].text, L"after");
  EXPECT_TRUE(writeSerialPort(serialLink.serialHandle, L"R SOURCE.", 10));
  EXPECT_EQ(unit->readAtLeast(9), "R SOURCE.");
}
}  // namespace
