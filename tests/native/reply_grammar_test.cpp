#include "protocol/reply_grammar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// What the effects ask the window side to do to its controls.
std::vector<std::string> controlEffects(const ReplyEffects& effects) {
  std::vector<std::string> calls;
  if (effects.resolutionItem >= 0) calls.push_back("combo " + std::to_string(effects.resolutionItem));
  if (effects.brightnessMoved) calls.push_back("brightness " + std::to_string(effects.brightnessPosition));
  if (effects.contrastMoved) calls.push_back("contrast " + std::to_string(effects.contrastPosition));
  if (effects.buzzerItemText != nullptr) calls.push_back(effects.buzzerItemChecked ? "buzzer on" : "buzzer off");
  return calls;
}

ControlState freshState() {
  ControlState state;
  applyStartValues(state);
  return state;
}
}  // namespace

// One received line (CR LF added) and the fields it must leave behind.
struct LineCase {
  const wchar_t* line;
  int videoInput, audioInput, hdmiMuted, analogMuted, allMuted, resolution;
  bool indicators, resolutionChanged;
};

class ReplyLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(ReplyLineTest, StoresWhatTheLineReports) {
  const LineCase& c = GetParam();
  ControlState state = freshState();
  std::wstring text = std::wstring(c.line) + L"\r\n";
  ReplyEffects changes = parseReplyLines(state, text.c_str());
  EXPECT_EQ(state.videoInput, c.videoInput);
  EXPECT_EQ(state.audioInput, c.audioInput);
  EXPECT_EQ(state.hdmiAudioMuted, c.hdmiMuted);
  EXPECT_EQ(state.analogAudioMuted, c.analogMuted);
  EXPECT_EQ(state.allAudioMuted, c.allMuted);
  EXPECT_EQ(state.outputResolution, c.resolution);
  EXPECT_EQ(changes.indicatorsChanged, c.indicators);
  EXPECT_EQ(changes.resolutionChanged, c.resolutionChanged);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReplyLineTest,
    testing::Values(
        //       line                              video audio hdmi analog all res  ind    res
        LineCase{L">>SOURCE HDMI3",                   6, -1, 0, 0, 0, 0, true, false},
        LineCase{L"SOURCE HDBaseT",                   8, -1, 0, 0, 0, 0, true, false},
        LineCase{L"SOURCE DisplayPort",               7, -1, 0, 0, 0, 0, true, false},
        LineCase{L"SOURCE HDMI3 ",                   -1, -1, 0, 0, 0, 0, false, false},
        LineCase{L"SOURCE hdmi3",                    -1, -1, 0, 0, 0, 0, false, false},
        LineCase{L"Video Input: HDMI2",               5, -1, 0, 0, 0, 0, true, false},
        LineCase{L"Video Input:    CV",               0, -1, 0, 0, 0, 0, true, false},
        LineCase{L"AUDIO HDBaseT",                   -1, 9, 0, 0, 0, 0, true, false},
        LineCase{L"AUDIO 3 extra",                   -1, 2, 0, 0, 0, 0, true, false},
        LineCase{L"AUDIO 10",                        -1, -1, 0, 0, 0, 0, false, false},
        LineCase{L"HDMI&HDBaseT",                    -1, 9, 0, 0, 0, 0, true, false},
        LineCase{L"HDMI&HDBaseT anything",           -1, 9, 0, 0, 0, 0, true, false},
        LineCase{L"Audio Input: Audio 4",            -1, 3, 0, 0, 0, 0, true, false},
        LineCase{L"Audio Input: AudioHDMI&HDBaseT",  -1, 9, 0, 0, 0, 0, true, false},
        LineCase{L"Audio Input: 7",                  -1, 6, 0, 0, 0, 0, true, false},
        LineCase{L"HDMI AUDIO MUTE ON",              -1, -1, 1, 0, 0, 0, true, false},
        LineCase{L"HDMI AUDIO MUTE ON ",             -1, -1, 0, 0, 0, 0, true, false},
        LineCase{L"HDMI VIDEO MUTE ON",              -1, -1, 0, 0, 0, 0, false, false},
        LineCase{L"HDMI AUDIO",                      -1, -1, 0, 0, 0, 0, false, false},
        LineCase{L"Analog AUDIO MUTE ON",            -1, -1, 0, 1, 0, 0, true, false},
        LineCase{L"MUTE ON",                         -1, -1, 0, 0, 1, 0, true, false},
        LineCase{L"MUTE ON now",                     -1, -1, 0, 0, 1, 0, true, false},
        LineCase{L"MUTE",                            -1, -1, 0, 0, 0, 0, true, false},
        LineCase{L"OUTPUT 1920x1200@60Hz",           -1, -1, 0, 0, 0, 15, false, true},
        LineCase{L"OUTPUT 1920x1080@61Hz",           -1, -1, 0, 0, 0, 0, false, false},
        LineCase{L"Output Resolution: 1440x900@60Hz", -1, -1, 0, 0, 0, 10, false, true},
        LineCase{L":SOURCE HDMI1",                   -1, -1, 0, 0, 0, 0, false, false},
        LineCase{L"\u00e9\u00ff SOURCE",             -1, -1, 0, 0, 0, 0, false, false}));

TEST(ReplyGrammar, AnInputNamedAgainStillMovesThePreviousField) {
  ControlState state = freshState();
  parseReplyLines(state, L"SOURCE HDMI1\r\nSOURCE HDMI1\r\nAUDIO 2\r\nAUDIO 5\r\n");
  EXPECT_EQ(state.videoInput, 4);
  EXPECT_EQ(state.previousVideoInput, 4);
  EXPECT_EQ(state.audioInput, 4);
  EXPECT_EQ(state.previousAudioInput, 1);
}

struct BuzzerCase {
  const wchar_t* line;
  bool enabled;
};
class BuzzerReplyTest : public testing::TestWithParam<BuzzerCase> {};

TEST_P(BuzzerReplyTest, EachFormAcceptsOnlyItsOwnCase) {
  ControlState state = freshState();
  state.buzzerEnabled = !GetParam().enabled;
  ReplyEffects effects = parseReplyLines(state, (std::wstring(GetParam().line) + L"\r\n").c_str());
  EXPECT_EQ(state.buzzerEnabled, GetParam().enabled);
  std::vector<std::string> calls = controlEffects(effects);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], GetParam().enabled ? "buzzer on" : "buzzer off");
  EXPECT_STREQ(effects.buzzerItemText, GetParam().enabled ? L"Disable &Buzzer" : L"Enable &Buzzer");
}

INSTANTIATE_TEST_SUITE_P(Lines, BuzzerReplyTest,
                         testing::Values(BuzzerCase{L"Bell On", true}, BuzzerCase{L"Bell Status: ON", true},
                                         BuzzerCase{L"Bell Status:ON", true}, BuzzerCase{L"Bell ON", false},
                                         BuzzerCase{L"Bell Status: On", false}, BuzzerCase{L"Bell", false},
                                         BuzzerCase{L"Bell Off", false}));

TEST(ReplyGrammar, NetworkRepliesFillTheirFields) {
  ControlState state = freshState();
  ReplyEffects changes = parseReplyLines(
      state, L"SIPR: 192.168.1.20\r\nSPORT: 1024\r\nSUBR: 255.255.0.0\r\nGAR: 10\r\n");
  EXPECT_TRUE(changes.networkChanged);
  EXPECT_EQ(std::vector<int>(state.ipAddress, state.ipAddress + 4), (std::vector<int>{192, 168, 1, 20}));
  EXPECT_EQ(state.ipPort, 1024);
  EXPECT_EQ(std::vector<int>(state.subnetMask, state.subnetMask + 4), (std::vector<int>{255, 255, 0, 0}));
  EXPECT_EQ(std::vector<int>(state.gatewayAddress, state.gatewayAddress + 4), (std::vector<int>{10, 10, 10, 10}));
}

TEST(ReplyGrammar, NumbersThatAreNotNumbersStoreZeroAndHugeOnesClamp) {
  ControlState state = freshState();
  parseReplyLines(state, L"SPORT: none\r\nSIPR: 99999999999999.x.-3.\r\n");
  EXPECT_EQ(state.ipPort, 0);
  EXPECT_EQ(std::vector<int>(state.ipAddress, state.ipAddress + 4), (std::vector<int>{2147483647, 0, -3, 0}));
}

struct VersionCase {
  const wchar_t* line;
  const wchar_t* stored;
};
class VersionReplyTest : public testing::TestWithParam<VersionCase> {};

TEST_P(VersionReplyTest, KeepsAtMostSevenUnitsAfterTheFirst) {
  ControlState state = freshState();
  parseReplyLines(state, (std::wstring(GetParam().line) + L"\r\n").c_str());
  EXPECT_EQ(std::wstring(state.lpmcuVersion), GetParam().stored);
  EXPECT_TRUE(controlStateInvariantsHold(state));
}

INSTANTIATE_TEST_SUITE_P(Lines, VersionReplyTest,
                         testing::Values(VersionCase{L"LPMCU SW Versions: V1.23456789", L"1.23456"},
                                         VersionCase{L"LPMCU SW Versions: V1.0", L"1.0"},
                                         VersionCase{L"LPMCU SW Versions:      ", L""},
                                         VersionCase{L"LPMCU SW Versions: V", L""}));

// The value that moves a trackbar is what the unit has: it becomes the last
// value sent, so a move back to the operator's earlier value goes out.
TEST(ReplyGrammar, OnlyTheFirstBrightnessReplyAfterTheQueryMovesTheTrackbar) {
  ControlState state = freshState();
  state.lastBrightnessSent = 62;
  EXPECT_TRUE(controlEffects(parseReplyLines(state, L"Brightness Value: 42\r\n")).empty());
  EXPECT_EQ(state.lastBrightnessSent, 62);
  state.brightnessQueryPending = true;
  state.contrastQueryPending = true;
  ReplyEffects effects =
      parseReplyLines(state, L"Brightness Value: 42\r\nBrightness Value: 43\r\nContrast Value:7\r\n");
  EXPECT_EQ(controlEffects(effects), (std::vector<std::string>{"brightness 42", "contrast 7"}));
  EXPECT_FALSE(state.brightnessQueryPending);
  EXPECT_FALSE(state.contrastQueryPending);
  EXPECT_EQ(state.lastBrightnessSent, 42);
  EXPECT_EQ(state.lastContrastSent, 7);
}

// The trackbars hold 0..100; a value beyond is where the trackbar stops.
TEST(ReplyGrammar, AValueReplyOutsideTheTrackbarRangeStopsAtItsEnd) {
  ControlState state = freshState();
  state.brightnessQueryPending = true;
  state.contrastQueryPending = true;
  ReplyEffects effects = parseReplyLines(state, L"Brightness Value: 150\r\nContrast Value: -5\r\n");
  EXPECT_EQ(controlEffects(effects), (std::vector<std::string>{"brightness 100", "contrast 0"}));
  EXPECT_EQ(state.lastBrightnessSent, 100);
  EXPECT_EQ(state.lastContrastSent, 0);
  EXPECT_TRUE(controlStateInvariantsHold(state));
}

TEST(ReplyGrammar, OnlyTheKeyedResolutionFormSelectsTheListItem) {
  ControlState state = freshState();
  EXPECT_TRUE(controlEffects(parseReplyLines(state, L"OUTPUT 800x600@60Hz\r\n")).empty());
  EXPECT_EQ(state.outputResolution, 1);
  ReplyEffects effects = parseReplyLines(state, L"OUTPUT 800x600@60Hz\r\nOutput Resolution: 1920x1080@50Hz\r\n");
  EXPECT_EQ(controlEffects(effects), (std::vector<std::string>{"combo 13"}));
  EXPECT_EQ(state.outputResolution, 13);
}

TEST(ReplyGrammar, ATextWithoutALineEndIsNotParsed) {
  ControlState state = freshState();
  ReplyEffects changes = parseReplyLines(state, L"SOURCE HDMI1");
  EXPECT_EQ(state.videoInput, -1);
  EXPECT_FALSE(changes.indicatorsChanged);
}

TEST(ReplyGrammar, TheLineAfterTheLastLineEndIsLeftAlone) {
  ControlState state = freshState();
  parseReplyLines(state, L"SOURCE HDMI1\r\nAUDIO 3");
  EXPECT_EQ(state.videoInput, 4);
  EXPECT_EQ(state.audioInput, -1);
}

// A blank line or a bare prompt between replies must not cost the replies
// behind it.
TEST(ReplyGrammar, EmptyAndPromptOnlyLinesAreSkipped) {
  ControlState state = freshState();
  parseReplyLines(state, L"\r\n>\r\n>>>\r\nSOURCE HDMI1\r\n\r\nAUDIO 3\r\n");
  EXPECT_EQ(state.videoInput, 4);
  EXPECT_EQ(state.audioInput, 2);
}

TEST(ReplyGrammar, ACrWithoutLfSwallowsTheNextCharacter) {
  ControlState state = freshState();
  parseReplyLines(state, L"MUTE ON\rXSOURCE HDMI1\r\n");
  EXPECT_EQ(state.allAudioMuted, 1);
  EXPECT_EQ(state.videoInput, 4);
  parseReplyLines(state, L"MUTE OFF\r");
  EXPECT_EQ(state.allAudioMuted, 0);
}

TEST(ReplyGrammar, AThousandLinesInOneTextAreAllRead) {
  ControlState state = freshState();
  std::wstring text;
  for (int i = 0; i < 1000; ++i) text += (i % 2 ? L"AUDIO 1\r\n" : L"AUDIO 2\r\n");
  parseReplyLines(state, text.c_str());
  EXPECT_EQ(state.audioInput, 0);
  EXPECT_EQ(state.previousAudioInput, 1);
}


// Deliveries as the reader hands them over, parsed one after another with what
// each leaves unfinished kept for the next.
struct DeliveryCase {
  const char* name;
  std::vector<std::wstring> deliveries;
  int videoInput, audioInput;
  unsigned long dropped;
};
void PrintTo(const DeliveryCase& value, std::ostream* out) { *out << value.name; }

class DeliveredTextTest : public testing::TestWithParam<DeliveryCase> {};

TEST_P(DeliveredTextTest, ReadsLinesAcrossDeliveries) {
  const DeliveryCase& c = GetParam();
  ControlState state = freshState();
  PartialReplyLine partial;
  bool indicators = false;
  for (const std::wstring& text : c.deliveries) indicators |= parseDeliveredText(state, partial, text.c_str()).indicatorsChanged;
  EXPECT_EQ(state.videoInput, c.videoInput);
  EXPECT_EQ(state.audioInput, c.audioInput);
  EXPECT_EQ(indicators, c.videoInput != -1 || c.audioInput != -1);
  EXPECT_EQ(partial.droppedUnits, c.dropped);
}

const std::wstring kLongStart(1000, L'x');

INSTANTIATE_TEST_SUITE_P(
    Deliveries, DeliveredTextTest,
    testing::Values(
        DeliveryCase{"LineSplitInTwo", {L">AUDIO ", L"5\r\n"}, -1, 4, 0},
        DeliveryCase{"ManyPieces", {L">", L"SOU", L"RCE HD", L"MI2\r", L"\n>AUD", L"IO 3\r\n"}, 5, 2, 0},
        DeliveryCase{"LineEndSplitBetweenCrAndLf", {L">AUDIO 5\r", L"\n>SOURCE CV\r\n"}, 0, 4, 0},
        DeliveryCase{"TailAfterWholeLines", {L">AUDIO 2\r\n>SOURCE CV", L"\r\n"}, 0, 1, 0},
        DeliveryCase{"UnfinishedLineStaysUnread", {L">AUDIO 2\r\n>SOURCE CV"}, -1, 1, 0},
        DeliveryCase{"KeptStartAndLongEndMakeOneLine", {L">SOURCE ", std::wstring(1022, L' ') + L"\r\n>AUDIO 1\r\n"},
                     -1, 0, 0},
        // A line that would outgrow the limit is dropped whole: its end is not
        // read as a line of its own.
        DeliveryCase{"TooLongToKeepIsDroppedToItsEnd",
                     {kLongStart, std::wstring(30, L'y'), L"SOURCE HDMI1\r\n>AUDIO 4\r\n"}, -1, 3, 1042},
        DeliveryCase{"AFullTextWithoutLineEndIsKeptWhole", {std::wstring(1023, L'z'), L"\r\n>AUDIO 1\r\n"}, -1, 0, 0},
        DeliveryCase{"FullTextAfterAKeptStart", {L"AU", std::wstring(1022, L'z')}, -1, -1, 1024}),
    [](const testing::TestParamInfo<DeliveryCase>& info) { return std::string(info.param.name); });
