#pragma once
// The test session's simulated unit (vrx-sim on COM2): commands sent to it
// over its TCP listener, and its transcript of what it received.
#include <cstddef>
#include <string>
#include <vector>

// Sends commands to the unit's TCP listener (it applies them, answers nothing).
bool sendToSim(const std::string& commands);
// The unit's transcript: every "<kind> <bytes>" line, time stamps dropped.
std::vector<std::string> simTranscript();
// The "rx" lines (commands received on the serial line) after the first skip lines.
std::vector<std::string> simReceivedSince(std::size_t skip);
