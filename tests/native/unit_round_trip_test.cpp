// Every command the program can send, as the serial link puts it on the wire
// (its text, then zero bytes up to its transmit count less one), goes through
// the simulated unit's splitter and reply code; the replies come back through
// the program's reply grammar. The unit answers no command with "ERR", and
// what the program then knows of the unit equals the unit's own state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_splitter.h"
#include "protocol/command_set.h"
#include "protocol/control_state.h"
#include "protocol/reply_assembly.h"
#include "sim_core.h"

namespace {
struct UnitOnTheLine {
  SimState unit = factorySimState();
  CommandSplitter splitter;
  std::vector<std::string> replies;   // every reply line, in order
};
UnitOnTheLine* line = nullptr;

// The serial link's bytes: size - 1 of them, the text and then zeros.
Transmitted toTheUnit(const wchar_t* text, int size) {
  std::string bytes(static_cast<std::size_t>(size - 1), '\0');
  for (std::size_t i = 0; i < bytes.size() && text[i] != 0; ++i) bytes[i] = static_cast<char>(text[i]);
  std::vector<SplitEvent> events;
  line->splitter.feed(bytes.data(), bytes.size(), events);
  std::wstring answer;
  for (const SplitEvent& event : events) {
    if (event.kind != SplitEvent::Command) continue;
    for (const std::string& reply : handleCommand(line->unit, event.text)) {
      line->replies.push_back(reply);
      answer.append(reply.begin(), reply.end());
    }
  }
  parseReplyLines(controlState, answer.c_str());
  return Transmitted::Sent;
}
void noEcho(const wchar_t*) {}

std::vector<int> quad(const int values[4]) { return {values[0], values[1], values[2], values[3]}; }
std::wstring wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

class UnitRoundTrip : public testing::Test {
 protected:
  void SetUp() override {
    controlState = ControlState{};
    applyStartValues(controlState);
    line = &onTheLine;
    setCommandOutput(CommandOutput{toTheUnit, noEcho, nullptr});
  }
  void TearDown() override {
    setCommandOutput(CommandOutput{nullptr, nullptr, nullptr});
    line = nullptr;
  }

  // Neither side saw a command it could not take.
  void expectNoError() {
    for (const std::string& reply : onTheLine.replies) EXPECT_EQ(reply.find("ERR"), std::string::npos) << reply;
  }

  void expectTheProgramKnowsTheUnit() {
    const SimState& unit = onTheLine.unit;
    const ControlState& known = controlState;
    EXPECT_EQ(known.videoInput, unit.videoInput);
    EXPECT_EQ(known.audioInput, unit.audioInput);
    EXPECT_EQ(known.outputResolution, unit.resolution);
    EXPECT_EQ(known.buzzerEnabled, unit.buzzer);
    EXPECT_EQ(known.hdmiAudioMuted, unit.hdmiMuted ? 1 : 0);
    EXPECT_EQ(known.analogAudioMuted, unit.analogMuted ? 1 : 0);
    EXPECT_EQ(known.allAudioMuted, unit.allMuted ? 1 : 0);
    EXPECT_EQ(quad(known.ipAddress), quad(unit.ip));
    EXPECT_EQ(known.ipPort, unit.port);
    EXPECT_EQ(quad(known.subnetMask), quad(unit.mask));
    EXPECT_EQ(quad(known.gatewayAddress), quad(unit.gateway));
    // The program keeps a version without its leading "V".
    EXPECT_EQ(L"V" + std::wstring(known.lpmcuVersion), wide(unit.lpmcuVersion));
    EXPECT_EQ(L"V" + std::wstring(known.fpmcuVersion), wide(unit.fpmcuVersion));
    EXPECT_EQ(L"V" + std::wstring(known.flmcuVersion), wide(unit.flmcuVersion));
  }

  // What the program asks when it connects and when the settings windows open.
  void askEverything() {
    for (int (*query)() : {readVideoInput, readAudioInput, readBuzzerStatus, readVersions, readOutputResolution,
                           readIpAddress, readIpPort, readSubnetMask, readGatewayAddress})
      query();
  }

  UnitOnTheLine onTheLine;
};

TEST_F(UnitRoundTrip, EveryInputAndResolutionIsReportedBack) {
  for (int video = 0; video < kVideoInputCount; ++video) {
    selectVideoInput(video);
    EXPECT_EQ(controlState.videoInput, video);
  }
  for (int audio = 0; audio < kAudioInputCount; ++audio) {
    selectAudioInput(audio);
    EXPECT_EQ(controlState.audioInput, audio);
  }
  for (int resolution = 0; resolution < kResolutionCount; ++resolution) {
    selectOutputResolution(resolution);
    EXPECT_EQ(controlState.outputResolution, resolution);
  }
  expectNoError();
  askEverything();
  expectTheProgramKnowsTheUnit();
}

TEST_F(UnitRoundTrip, EverySettingTheProgramCanSendIsTakenAsSent) {
  // Each output muted and unmuted twice; the program's mute flags follow the
  // unit's at every step. (The unit has no mute query: had "<DEFAULT>" found
  // an output muted, the program could not learn that it was unmuted.)
  for (int which : {0, 1, 2}) {
    for (int step = 0; step < 4; ++step) {
      toggleOutputMute(which);
      EXPECT_EQ(controlState.hdmiAudioMuted, onTheLine.unit.hdmiMuted ? 1 : 0);
      EXPECT_EQ(controlState.analogAudioMuted, onTheLine.unit.analogMuted ? 1 : 0);
      EXPECT_EQ(controlState.allAudioMuted, onTheLine.unit.allMuted ? 1 : 0);
    }
  }
  setBuzzer(true);
  setIpAddress(10, 1, 2, 3);
  setIpPort(65535);
  setSubnetMask(255, 0, 255, 0);
  setGatewayAddress(10, 1, 2, 254);
  // A first 0 would not be sent: the program's last value starts at 0.
  for (int value : {5, 0, 10, 99, 100}) {
    setBrightness(value);
    setContrast(value);
    EXPECT_EQ(onTheLine.unit.brightness, value);
    EXPECT_EQ(onTheLine.unit.contrast, value);
  }
  for (int input = 0; input < kAudioInputCount; ++input) {
    for (int level : {7, 0, 3}) {
      setAudioInputLevel(input, level);
      EXPECT_EQ(onTheLine.unit.inputLevels[input], level);
    }
  }
  for (bool plus : {true, false}) {
    stepVerticalStart(plus);
    stepHorizontalStart(plus);
    stepHorizontalTotal(plus);
    stepOutputVolume(true, plus);
    stepOutputVolume(false, plus);
  }
  EXPECT_EQ(onTheLine.unit.vgaVStart, 0);
  EXPECT_EQ(onTheLine.unit.vgaHTotal, 0);
  autoAdjust();
  copyEdid();
  readBrightness();
  readContrast();
  expectNoError();
  askEverything();
  expectTheProgramKnowsTheUnit();

  restoreDefaults();
  askEverything();
  expectNoError();
  expectTheProgramKnowsTheUnit();
}
}  // namespace
