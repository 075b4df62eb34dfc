#pragma once
// The test session as a program inside it sees it: every VRX_* variable that
// scripts/test-session.sh sets, read here and nowhere else. Outside a session
// the ports fall back to the names the session would give them.
#include <string>

// The pty pairs: the program's end and the unit's end (the peer). Pair 2 is
// a second, independent pair, numbered above 9 as USB adapters are.
std::wstring testPortName();    // VRX_TEST_PORT, COM7
std::wstring testPeerName();    // VRX_TEST_PEER, COM8
std::wstring testPort2Name();   // VRX_TEST_PORT2, COM12
std::wstring testPeer2Name();   // VRX_TEST_PEER2, COM13

// A port the listing shows with no device behind it; empty when the rig has none.
std::wstring deadPortName();    // VRX_TEST_DEAD_PORT

// The pair whose cable can be pulled; empty when the rig has none.
std::wstring unplugPortName();   // VRX_TEST_UNPLUG_PORT
std::wstring unplugPeerName();   // VRX_TEST_UNPLUG_PEER

// A file of the rig's directory (VRX_RIG_DIR) by its path through Wine's
// drive Z:; empty when no session is running.
std::wstring rigFile(const wchar_t* name);

// The simulated unit: its COM port, its TCP port and its transcript file.
std::wstring simPortName();          // VRX_SIM_PORT, COM2
unsigned short simTcpPort();         // VRX_SIM_TCP_PORT, 10240
std::wstring simTranscriptPath();    // VRX_SIM_TRANSCRIPT through drive Z:; empty when unset
