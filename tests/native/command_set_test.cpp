// The thirty commands as the link receives them: the exact text, the transmit
// count the link pads it to, and the "Tx> " echo; the values that are not sent
// again; the toggles that ask for the opposite of the reported state.
#include "protocol/command_set.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "protocol/bounded_text.h"
#include "protocol/command_texts.h"
#include "protocol/control_state.h"
#include "protocol/query_sequences.h"

namespace {
struct Sent {
  std::wstring text;
  int size;
  std::wstring echo;
  bool operator==(const Sent& other) const {
    return text == other.text && size == other.size && echo == other.echo;
  }
};
std::ostream& operator<<(std::ostream& out, const Sent& sent) {
  return out << std::string(sent.text.begin(), sent.text.end()) << " / " << sent.size;
}

std::vector<Sent> sent;
std::vector<std::pair<std::wstring, Transmitted>> notSent;
Transmitted linkAnswer = Transmitted::Sent;
Transmitted transmit(const wchar_t* text, int size) {
  sent.push_back({text, size, L""});
  return linkAnswer;
}
void echo(const wchar_t* line) { sent.back().echo = line; }
void reportNotSent(const wchar_t* text, Transmitted why) { notSent.emplace_back(text, why); }

// Sent just as the output saw them: text, count, echo with its CR LF.
Sent wire(const std::wstring& text, int size) { return {text, size, text + L"\r\n"}; }

class CommandSetTest : public testing::Test {
 protected:
  void SetUp() override {
    controlState = ControlState{};
    applyStartValues(controlState);
    sent.clear();
    notSent.clear();
    linkAnswer = Transmitted::Sent;
    setCommandOutput(CommandOutput{transmit, echo, reportNotSent});
  }
  void TearDown() override { setCommandOutput(CommandOutput{nullptr, nullptr, nullptr}); }
};

struct CommandCase {
  const char* name;
  std::function<int()> send;
  Sent expected;
};
void PrintTo(const CommandCase& value, std::ostream* out) { *out << value.name; }

class EachCommandTest : public CommandSetTest, public testing::WithParamInterface<CommandCase> {};

TEST_P(EachCommandTest, GoesOutWithItsTextAndTransmitCount) {
  EXPECT_EQ(GetParam().send(), 0);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, EachCommandTest,
    testing::Values(
        CommandCase{"ReadVideoInput", readVideoInput, wire(L"R SOURCE.", 10)},
        CommandCase{"ReadAudioInput", readAudioInput, wire(L"R AUDIO.", 9)},
        CommandCase{"SelectVideoInput", [] { return selectVideoInput(7); }, wire(L"S SOURCE 7.", 12)},
        CommandCase{"ResolutionTenIsUpperCaseA", [] { return selectOutputResolution(10); }, wire(L"S OUTPUT A!", 12)},
        CommandCase{"ResolutionFifteen", [] { return selectOutputResolution(15); }, wire(L"S OUTPUT F!", 12)},
        CommandCase{"ReadOutputResolution", readOutputResolution, wire(L"R OUTPUT!", 10)},
        CommandCase{"SetIpAddress", [] { return setIpAddress(1, 2, 3, 4); }, wire(L"<SIPR[1-2-3-4]>", 25)},
        CommandCase{"SetIpAddressLongest", [] { return setIpAddress(255, 255, 255, 255); },
                    wire(L"<SIPR[255-255-255-255]>", 25)},
        CommandCase{"ReadIpAddress", readIpAddress, wire(L"<SIPR>", 7)},
        CommandCase{"SetIpPort", [] { return setIpPort(65535); }, wire(L"<SPORT[65535]>", 15)},
        CommandCase{"ReadIpPort", readIpPort, wire(L"<SPORT>", 8)},
        CommandCase{"SetSubnetMask", [] { return setSubnetMask(255, 0, 255, 0); }, wire(L"<SUBR[255-0-255-0]>", 25)},
        CommandCase{"ReadSubnetMask", readSubnetMask, wire(L"<SUBR>", 7)},
        CommandCase{"SetGatewayAddress", [] { return setGatewayAddress(192, 168, 1, 1); },
                    wire(L"<GAR[192-168-1-1]>", 24)},
        CommandCase{"ReadGatewayAddress", readGatewayAddress, wire(L"<GAR>", 6)},
        CommandCase{"RestoreDefaults", restoreDefaults, wire(L"<DEFAULT>", 10)},
        CommandCase{"CopyEdid", copyEdid, wire(L"<COPYEDID>", 11)},
        CommandCase{"BuzzerOn", [] { return setBuzzer(true); }, wire(L"<BellOn>", 9)},
        CommandCase{"BuzzerOff", [] { return setBuzzer(false); }, wire(L"<BellOff>", 10)},
        CommandCase{"ReadBuzzerStatus", readBuzzerStatus, wire(L"<BellStatus>", 13)},
        CommandCase{"ReadVersions", readVersions, wire(L"<SW>", 5)},
        CommandCase{"VerticalStartPlus", [] { return stepVerticalStart(true); }, wire(L"VStart+*", 9)},
        CommandCase{"HorizontalStartPlus", [] { return stepHorizontalStart(true); }, wire(L"HStart+*", 9)},
        CommandCase{"HorizontalTotalMinus", [] { return stepHorizontalTotal(false); }, wire(L"HTotal-*", 9)},
        CommandCase{"AutoAdjust", autoAdjust, wire(L"Auto Adjust*", 13)},
        CommandCase{"BrightnessNine", [] { return setBrightness(9); }, wire(L"Brightness 009*", 16)},
        CommandCase{"BrightnessTen", [] { return setBrightness(10); }, wire(L"Brightness 010*", 16)},
        CommandCase{"ReadBrightness", readBrightness, wire(L"Brightness*", 12)},
        CommandCase{"ContrastNinetyNine", [] { return setContrast(99); }, wire(L"Contrast 099*", 14)},
        CommandCase{"ContrastHundred", [] { return setContrast(100); }, wire(L"Contrast 100*", 14)},
        CommandCase{"ReadContrast", readContrast, wire(L"Contrast*", 12)},
        CommandCase{"SelectAudioInput", [] { return selectAudioInput(9); }, wire(L"S AUDIO 9.", 11)},
        CommandCase{"AudioInputLevel", [] { return setAudioInputLevel(3, 5); }, wire(L"A 3 INPUT 5%", 14)},
        CommandCase{"HdmiVolumeUp", [] { return stepOutputVolume(false, true); }, wire(L"B+ OUTPUT%", 11)},
        CommandCase{"HdmiMute", [] { return toggleOutputMute(0); }, wire(L"CLOSE 1%", 9)},
        CommandCase{"AnalogMute", [] { return toggleOutputMute(1); }, wire(L"CLOSE 0%", 9)},
        CommandCase{"MuteAll", [] { return toggleOutputMute(2); }, wire(L"MUTE ON%", 9)}),
    [](const testing::TestParamInfo<CommandCase>& info) { return std::string(info.param.name); });

// Each toggle asks for the opposite of what the unit last reported; nothing in
// the state changes until the unit answers.
TEST_F(CommandSetTest, MuteTogglesAskForTheOppositeOfTheReportedState) {
  toggleOutputMute(0);
  toggleOutputMute(0);
  controlState.hdmiAudioMuted = 1;
  controlState.analogAudioMuted = 1;
  controlState.allAudioMuted = 1;
  for (int which : {0, 1, 2}) toggleOutputMute(which);
  EXPECT_EQ(sent, (std::vector<Sent>{wire(L"CLOSE 1%", 9), wire(L"CLOSE 1%", 9), wire(L"OPEN 1%", 8),
                                     wire(L"OPEN 0%", 8), wire(L"MUTE OFF%", 10)}));
  EXPECT_EQ(controlState.hdmiAudioMuted, 1);
}

// A brightness, contrast or level equal to the one last sent is not sent again
// (nor echoed); the fields start at 0, so a first 0 goes nowhere.
TEST_F(CommandSetTest, AValueEqualToTheLastSentIsNotSentAgain) {
  EXPECT_EQ(setBrightness(0) | setContrast(0) | setAudioInputLevel(4, 0), 0);
  EXPECT_TRUE(sent.empty());
  setBrightness(40);
  setBrightness(40);
  setContrast(7);
  setContrast(7);
  setAudioInputLevel(4, 6);
  setAudioInputLevel(4, 6);
  setAudioInputLevel(5, 6);   // each input keeps its own last level
  EXPECT_EQ(sent, (std::vector<Sent>{wire(L"Brightness 040*", 16), wire(L"Contrast 007*", 14),
                                     wire(L"A 4 INPUT 6%", 14), wire(L"A 5 INPUT 6%", 14)}));
  EXPECT_EQ(controlState.lastBrightnessSent, 40);
  EXPECT_EQ(controlState.lastContrastSent, 7);
  EXPECT_EQ(controlState.audioInputLevel[4], 6);
}

// A command that did not go out, with no link open or with a write that
// failed, is not echoed: the output is told the text and why instead, and a
// value not sent is not taken as sent, so asking for it again sends it.
TEST_F(CommandSetTest, ACommandThatDidNotGoOutIsReportedInsteadOfEchoedAndNotRemembered) {
  linkAnswer = Transmitted::NoLink;
  selectVideoInput(0);
  setBrightness(62);
  linkAnswer = Transmitted::Failed;
  selectVideoInput(1);
  setContrast(9);
  setAudioInputLevel(2, 7);
  using Why = std::pair<std::wstring, Transmitted>;
  EXPECT_EQ(notSent, (std::vector<Why>{{L"S SOURCE 0.", Transmitted::NoLink},
                                       {L"Brightness 062*", Transmitted::NoLink},
                                       {L"S SOURCE 1.", Transmitted::Failed},
                                       {L"Contrast 009*", Transmitted::Failed},
                                       {L"A 2 INPUT 7%", Transmitted::Failed}}));
  linkAnswer = Transmitted::Sent;
  setBrightness(62);
  setContrast(9);
  setAudioInputLevel(2, 7);
  ASSERT_EQ(sent.size(), 8u);
  for (int failed = 0; failed < 5; ++failed) EXPECT_EQ(sent[failed].echo, L"") << failed;
  EXPECT_EQ((std::vector<Sent>(sent.begin() + 5, sent.end())),
            (std::vector<Sent>{wire(L"Brightness 062*", 16), wire(L"Contrast 009*", 14), wire(L"A 2 INPUT 7%", 14)}));
}

// The buffer holds the text, then zeros through N + 1 (the echo's CR LF room);
// a text beyond N - 1 units is cut there rather than overrunning.
TEST(CommandTexts, TheTextIsFollowedByZerosAndCutAtItsCount) {
  CommandText command;
  for (wchar_t& unit : command.text) unit = L'#';   // what an earlier command left
  formatCommand(command, CommandId::ReadContrast);
  for (int i = 9; i < command.size + 2; ++i) EXPECT_EQ(command.text[i], 0) << i;
  formatCommand(command, CommandId::SetIpAddress, -2147483647 - 1, -2147483647 - 1, -2147483647 - 1,
                -2147483647 - 1);
  EXPECT_EQ(std::wstring(command.text).size(), 24u);   // N - 1
  appendEchoLineEnd(command);
  EXPECT_EQ(std::wstring(command.text).size(), 26u);
  EXPECT_EQ(std::wstring(command.text).substr(24), L"\r\n");
}

// A command text made otherwise than by formatCommand gets what fits of CR LF
// within N + 2 units, terminator included, and within the 32-unit buffer
// whatever N says; the rest of the buffer and the count stay as they were.
TEST(CommandTexts, TheEchoLineEndIsCutAtNPlusTwoAndAtTheBuffer) {
  const std::wstring filled(31, L'A');
  struct EchoCase {
    std::wstring text;
    int size;
    std::wstring echoed;
  };
  for (const EchoCase& c : {EchoCase{L"ABC", 4, L"ABC\r\n"}, EchoCase{L"ABCD", 4, L"ABCD\r"},
                            EchoCase{L"ABCDE", 4, L"ABCDE"}, EchoCase{filled.substr(1), 40, filled.substr(1) + L"\r"},
                            EchoCase{filled, 40, filled}}) {
    CommandText command{};
    ASSERT_TRUE(copyBounded(command.text, kCommandBufferUnits, c.text.c_str()));
    command.size = c.size;
    appendEchoLineEnd(command);
    EXPECT_EQ(std::wstring(command.text, kCommandBufferUnits),
              c.echoed + std::wstring(kCommandBufferUnits - c.echoed.size(), L'\0'));
    EXPECT_EQ(command.size, c.size);
  }
}
}  // namespace

namespace {
std::vector<std::string> stepsTaken;
void notePause(unsigned ms) { stepsTaken.push_back("pause " + std::to_string(ms)); }
// No link takes the commands here: each comes back as not sent.
void noteCommand(const wchar_t* text, Transmitted) { stepsTaken.push_back(std::string(text, text + std::wcslen(text))); }

// The fixed query sequences: the queries in order, each after the pause the
// unit wants (the caller makes it).
TEST(QuerySequences, EachQueryFollowsItsPause) {
  setCommandOutput(CommandOutput{nullptr, nullptr, noteCommand});
  stepsTaken.clear();
  runQuerySteps(kUnitStateQueries, notePause);
  runQuerySteps(kNetworkQueries, notePause);
  setCommandOutput(CommandOutput{nullptr, nullptr, nullptr});
  EXPECT_EQ(stepsTaken, (std::vector<std::string>{"pause 100", "R SOURCE.", "pause 100", "R AUDIO.", "pause 100",
                                                  "<BellStatus>", "pause 100", "<SW>", "<SIPR>", "pause 100",
                                                  "<SPORT>", "pause 100", "<SUBR>", "pause 100", "<GAR>"}));
}
}  // namespace
