// The test rig itself: the two ends of each pty pair are COM ports of the
// prefix and carry bytes both ways. Every serial test stands on this.
#include <gtest/gtest.h>

#include "tools/harness/session_environment.h"
#include "tools/harness/unit_peer.h"

TEST(Rig, PtyPairsCarryBytesBetweenTheirComPorts) {
  struct Pair {
    std::wstring a, b;
  };
  for (const Pair& pair : {Pair{testPortName(), testPeerName()}, Pair{testPort2Name(), testPeer2Name()}}) {
    UnitPeer a(pair.a), b(pair.b);
    ASSERT_TRUE(a.isOpen());
    ASSERT_TRUE(b.isOpen()) << "error " << GetLastError();
    ASSERT_TRUE(a.write(std::string("ping\0\xE9", 6)));
    EXPECT_EQ(b.readAtLeast(6), std::string("ping\0\xE9", 6));
    ASSERT_TRUE(b.write("pong\r\n"));
    EXPECT_EQ(a.readAtLeast(6), "pong\r\n");
  }
}
