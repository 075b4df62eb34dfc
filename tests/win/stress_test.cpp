// The stress runs of `make stress` in a shortened form: small counts, the same
// measurements, and assertions on correctness only (no byte lost, no handle
// or thread growth, invariants kept, no probe of the window left unanswered),
// never on speed: how long the window waited is a figure of `make bench`.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/panel_fixtures.h"
#include "tools/bench/panel_report.h"
#include "tools/panel-driver/message_box_watcher.h"
#include "ui/main/console_pane.h"

namespace {
constexpr long kHandleTolerance = 8;     // the system may cache a few handles
constexpr long kThreadTolerance = 1;

// The program's boxes wait for an operator: the watcher presses OK and keeps them.
class Stress : public PanelTest {
 protected:
  std::vector<std::wstring> dismissedBoxes() const { return boxes_.boxes(); }

 private:
  MessageBoxWatcher boxes_;
};

TEST_F(Stress, ConnectCyclesLeaveNoHandlesOrThreadsBehind) {
  const int cycles = 10;
  ConnectCycles r = measureConnectCycles(sessionTestPorts(), cycles);
  printConnectCycles(r);
  ASSERT_TRUE(r.ok) << r.why;
  EXPECT_EQ(r.closedLines, cycles);
  EXPECT_EQ(r.openedLines, cycles);
  EXPECT_LE(r.handlesAfter - r.handlesBefore, kHandleTolerance);
  ASSERT_GT(r.tableBefore, 0) << "the system handle table was not readable";
  EXPECT_LE(r.tableAfter - r.tableBefore, kHandleTolerance);
  EXPECT_LE(r.threadsAfter - r.threadsBefore, kThreadTolerance);
  EXPECT_GT(r.deliveries, 0);
  EXPECT_TRUE(dismissedBoxes().empty());
}

TEST_F(Stress, InputAtLineSpeedLosesNoByte) {
  SustainedInput r = measureSustainedInput(sessionTestPorts(), 3, 11520);
  printSustainedInput(r);
  ASSERT_TRUE(r.ok) << r.why;
  EXPECT_GT(r.written, 0u);
  EXPECT_EQ(r.counted, r.written);
  EXPECT_EQ(r.delivered, r.written);
  EXPECT_EQ(r.inOrder, r.written);
  EXPECT_GT(r.paneTailUnits, 0);
  EXPECT_TRUE(dismissedBoxes().empty());
  EXPECT_EQ(r.unansweredProbes, 0);
}

TEST_F(Stress, APulledCableIsShownAndTheNextConnectWorks) {
  PanelPorts ports = sessionUnplugPorts();
  Unplug r = measureUnplug(ports, UnplugBy::RigPair, 1);
  printUnplug(r, UnplugBy::RigPair);
  for (const std::wstring& box : dismissedBoxes()) std::printf("box shown: %ls\n", box.c_str());
  EXPECT_TRUE(r.ok) << r.why;
  EXPECT_EQ(r.reconnected, 1);
  EXPECT_EQ(r.lossesShown, 1);
  EXPECT_TRUE(r.windowKept);
  EXPECT_EQ(r.unansweredProbes, 0);
}

TEST_F(Stress, LineNoiseKeepsTheStateValidAndThePaneMoving) {
  HostileInput r = measureHostileInput(sessionTestPorts(), 3, 4000);
  printHostileInput(r, sessionTestPorts());
  ASSERT_TRUE(r.windowKept) << r.why;
  EXPECT_GT(r.invariantChecks, 0);
  EXPECT_EQ(r.invariantFailures, 0);
  EXPECT_GT(r.deliveries, 0);
  EXPECT_EQ(r.unansweredProbes, 0);
}

TEST_F(Stress, LongSessionLandsEveryAppend) {
  const unsigned long long bytes = 50 * 1024;
  LongSession r = measureLongSession(sessionTestPorts(), bytes, {25 * 1024, 50 * 1024});
  printLongSession(r);
  ASSERT_TRUE(r.why.empty()) << r.why;
  EXPECT_EQ(r.inOrder, r.written);
  EXPECT_GT(r.paneTailUnits, 0);
  EXPECT_EQ(r.marks.size(), 2u);
}

// Replies streamed past the pane's scroll-back while "HDMI Vol+" is clicked
// with the mouse: every byte delivered in order, every click's command on
// the wire, the stream's last line shown and the pane holding its newest text.
TEST_F(Stress, ClicksUnderAStreamAllReachTheWire) {
  ClicksUnderStream r = measureClicksUnderStream(sessionTestPorts(), 200 * 1024, 4, 10830, 1500);
  printClicksUnderStream(r);
  ASSERT_TRUE(r.why.empty()) << r.why;
  EXPECT_EQ(r.counted, r.written);
  EXPECT_EQ(r.inOrder, r.written);
  EXPECT_GT(r.clicks, 0);
  EXPECT_EQ(r.clicksOnWire, r.clicks);
  EXPECT_GE(r.lastLineMs, 0);
  EXPECT_TRUE(r.paneIsStreamTail);
  EXPECT_LE(r.paneUnits, ConsolePane::kMostUnits);
  EXPECT_EQ(r.unansweredProbes, 0);
}
}  // namespace
