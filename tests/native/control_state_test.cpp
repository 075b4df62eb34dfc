// The state record: its invariants (the fuzzers' and the stress runs' check)
// at each limit, and what the start values and forgetting the mutes reset.
#include "protocol/control_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

namespace {
struct FieldRange {
  const char* name;
  int& (*field)(ControlState&);
  int low, high;   // the range the invariants allow, both ends included
};

const FieldRange kRanges[] = {
    {"videoInput", [](ControlState& s) -> int& { return s.videoInput; }, -1, 8},
    {"previousVideoInput", [](ControlState& s) -> int& { return s.previousVideoInput; }, -1, 8},
    {"audioInput", [](ControlState& s) -> int& { return s.audioInput; }, -1, 9},
    {"previousAudioInput", [](ControlState& s) -> int& { return s.previousAudioInput; }, -1, 9},
    {"outputResolution", [](ControlState& s) -> int& { return s.outputResolution; }, 0, 15},
    {"audioInputLevel[9]", [](ControlState& s) -> int& { return s.audioInputLevel[9]; }, 0, 7},
    {"lastBrightnessSent", [](ControlState& s) -> int& { return s.lastBrightnessSent; }, 0, 100},
    {"lastContrastSent", [](ControlState& s) -> int& { return s.lastContrastSent; }, 0, 100},
    {"hdmiAudioMuted", [](ControlState& s) -> int& { return s.hdmiAudioMuted; }, 0, 1},
    {"analogAudioMuted", [](ControlState& s) -> int& { return s.analogAudioMuted; }, 0, 1},
    {"allAudioMuted", [](ControlState& s) -> int& { return s.allAudioMuted; }, 0, 1},
};

TEST(ControlStateInvariants, HoldJustInsideEachLimitAndFailJustOutside) {
  for (const FieldRange& range : kRanges) {
    for (int value : {range.low - 1, range.low, range.low + 1, range.high, range.high + 1}) {
      ControlState state;
      applyStartValues(state);
      range.field(state) = value;
      EXPECT_EQ(controlStateInvariantsHold(state), value >= range.low && value <= range.high)
          << range.name << " = " << value;
    }
  }
  for (wchar_t(ControlState::*version)[kVersionUnits] :
       {&ControlState::lpmcuVersion, &ControlState::fpmcuVersion, &ControlState::flmcuVersion}) {
    ControlState state;
    for (wchar_t& unit : state.*version) unit = L'7';
    EXPECT_FALSE(controlStateInvariantsHold(state));
    (state.*version)[kVersionUnits - 1] = 0;
    EXPECT_TRUE(controlStateInvariantsHold(state));
  }
}

// The fields a new record starts with and the resets concern, in order:
// inputs and previous inputs, resolution, last values sent, pending queries,
// mutes, buzzer, port, then the ten input levels.
std::vector<int> fields(const ControlState& s) {
  std::vector<int> out = {s.videoInput,         s.previousVideoInput,     s.audioInput,
                          s.previousAudioInput, s.outputResolution,       s.lastBrightnessSent,
                          s.lastContrastSent,   s.brightnessQueryPending, s.contrastQueryPending,
                          s.hdmiAudioMuted,     s.analogAudioMuted,       s.allAudioMuted,
                          s.buzzerEnabled,      s.ipPort};
  out.insert(out.end(), s.audioInputLevel, s.audioInputLevel + kAudioInputCount);
  return out;
}

// The network settings, address, port, mask and gateway in that order.
std::vector<int> networkValues(const ControlState& s) {
  std::vector<int> out(std::begin(s.ipAddress), std::end(s.ipAddress));
  out.push_back(s.ipPort);
  out.insert(out.end(), std::begin(s.subnetMask), std::end(s.subnetMask));
  out.insert(out.end(), std::begin(s.gatewayAddress), std::end(s.gatewayAddress));
  return out;
}
const std::vector<int> kUsedNetwork = {10, 1, 2, 3, 1024, 255, 255, 0, 0, 10, 1, 0, 1};

std::vector<int> withLevels(std::vector<int> head, int level) {
  head.insert(head.end(), kAudioInputCount, level);
  return head;
}

ControlState usedState() {
  ControlState state;
  state.videoInput = state.previousVideoInput = 3;
  state.audioInput = state.previousAudioInput = 4;
  state.outputResolution = 9;
  state.lastBrightnessSent = state.lastContrastSent = 40;
  state.brightnessQueryPending = state.contrastQueryPending = true;
  state.hdmiAudioMuted = state.analogAudioMuted = state.allAudioMuted = 1;
  state.buzzerEnabled = true;
  const int address[4] = {10, 1, 2, 3}, mask[4] = {255, 255, 0, 0}, gateway[4] = {10, 1, 0, 1};
  std::copy(address, address + 4, state.ipAddress);
  state.ipPort = 1024;
  std::copy(mask, mask + 4, state.subnetMask);
  std::copy(gateway, gateway + 4, state.gatewayAddress);
  for (int& level : state.audioInputLevel) level = 5;
  return state;
}

// A new record knows nothing of the unit. The start values bring back the
// selection and last-sent fields alone; forgetting the inputs resets the four
// input fields alone; the unit has no mute query, so forgetting the mutes
// resets just them; forgetting the network settings
// resets all thirteen of their values and nothing else. A new record is on
// the TCP link, and the serial link is another: commands go by which it is.
TEST(ControlStateResets, ANewRecordAndEachResetHoldTheirValues) {
  EXPECT_EQ(fields(ControlState{}), withLevels({-1, -1, -1, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0));
  EXPECT_EQ(ControlState{}.linkMode, LinkMode::TcpIp);
  EXPECT_NE(LinkMode::Serial, LinkMode::TcpIp);
  ControlState started = usedState();
  applyStartValues(started);
  EXPECT_EQ(fields(started), withLevels({-1, -1, -1, -1, 9, 0, 0, 1, 1, 1, 1, 1, 1, 1024}, 0));
  ControlState unmuted = usedState();
  forgetReportedMutes(unmuted);
  EXPECT_EQ(fields(unmuted), withLevels({3, 3, 4, 4, 9, 40, 40, 1, 1, 0, 0, 0, 1, 1024}, 5));
  EXPECT_EQ(networkValues(unmuted), kUsedNetwork);
  ControlState noInputs = usedState();
  forgetReportedInputs(noInputs);
  EXPECT_EQ(fields(noInputs), withLevels({-1, -1, -1, -1, 9, 40, 40, 1, 1, 1, 1, 1, 1, 1024}, 5));
  EXPECT_EQ(networkValues(noInputs), kUsedNetwork);
  ControlState unknownNetwork = usedState();
  forgetNetworkSettings(unknownNetwork);
  EXPECT_EQ(fields(unknownNetwork), withLevels({3, 3, 4, 4, 9, 40, 40, 1, 1, 1, 1, 1, 1, 0}, 5));
  EXPECT_EQ(networkValues(unknownNetwork), std::vector<int>(13, 0));
}
}  // namespace
