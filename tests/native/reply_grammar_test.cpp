#include "protocol/reply_assembly.h"
#include "protocol/reply_grammar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
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
        LineCase{L"HDMI AUDIO LOUD ON",              -1, -1, 0, 0, 0, 0, false, false},
        LineCase{L"Analog AUDIO MUTE ON",            -1, -1, 0, 1, 0, 0, true, false},
        LineCase{L"MUTE ON",                         -1, -1, 0, 0, 1, 0, true, false},
        LineCase{L"MUTE ON now",                     -1, -1, 0, 0, 1, 0, true, false},
        LineCase{L"MUTE",                            -1, -1, 0, 0, 0, 0, true, false},
        LineCase{L"OUTPUT 1920x1200@60Hz",           -1, -1, 0, 0, 0, 15, false, true},
        LineCase{L"OUTPUT 1920x1080@61Hz",           -1, -1, 0, 0, 0, 0, false, false},
        LineCase{L"OUTPUT 640x480@60Hz",             -1, -1, 0, 0, 0, 0, false, true},
        LineCase{L"Output Resolution: 640x480@60Hz", -1, -1, 0, 0, 0, 0, false, true},
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

// Each network reply repaints the network lines and fills its own field only.
TEST(ReplyGrammar, NetworkRepliesFillTheirFields) {
  ControlState state = freshState();
  for (const wchar_t* line : {L"SIPR: 192.168.1.20\r\n", L"SPORT: 1024\r\n", L"SUBR: 255.255.0.0\r\n", L"GAR: 10\r\n"})
    EXPECT_TRUE(parseReplyLines(state, line).networkChanged) << line;
  EXPECT_EQ(state.linkMode, LinkMode::TcpIp);
  EXPECT_EQ(std::vector<int>(state.ipAddress, state.ipAddress + 4), (std::vector<int>{192, 168, 1, 20}));
  EXPECT_EQ(state.ipPort, 1024);
  EXPECT_EQ(std::vector<int>(state.subnetMask, state.subnetMask + 4), (std::vector<int>{255, 255, 0, 0}));
  EXPECT_EQ(std::vector<int>(state.gatewayAddress, state.gatewayAddress + 4), (std::vector<int>{10, 10, 10, 10}));
}

// A value is read in place, whatever stands in front of it: blanks far past
// any copy's size still lead to the number, and long runs of digits clamp.
TEST(ReplyGrammar, ValuesAreReadWholeAfterAnyRunOfBlanks) {
  ControlState state = freshState();
  parseReplyLines(state, (L"SPORT:" + std::wstring(300, L' ') + L"1024\r\nSIPR:" + std::wstring(600, L' ') +
                          L"1.2.3.4\r\n").c_str());
  EXPECT_EQ(state.ipPort, 1024);
  EXPECT_EQ(std::vector<int>(state.ipAddress, state.ipAddress + 4), (std::vector<int>{1, 2, 3, 4}));
  parseReplyLines(state, (L"SPORT: " + std::wstring(80, L'9') + L"\r\nSIPR: " + std::wstring(300, L'9') + L"\r\n").c_str());
  EXPECT_EQ(state.ipPort, 2147483647);
  EXPECT_EQ(std::vector<int>(state.ipAddress, state.ipAddress + 4), std::vector<int>(4, 2147483647));
}

struct VersionCase {
  const wchar_t* line;
  const wchar_t* stored;
};
class VersionReplyTest : public testing::TestWithParam<VersionCase> {};

// Each reply follows a longer one, so no tail of the old version may stay.
TEST_P(VersionReplyTest, KeepsAtMostSevenUnitsAfterTheFirst) {
  ControlState state = freshState();
  parseReplyLines(state, (L"LPMCU SW Versions: V7654321\r\n" + std::wstring(GetParam().line) + L"\r\n").c_str());
  EXPECT_EQ(std::wstring(state.lpmcuVersion), GetParam().stored);
  EXPECT_TRUE(controlStateInvariantsHold(state));
}

INSTANTIATE_TEST_SUITE_P(Lines, VersionReplyTest,
                         testing::Values(VersionCase{L"LPMCU SW Versions: V1.23456789", L"1.23456"},
                                         VersionCase{L"LPMCU SW Versions: V1.0", L"1.0"},
                                         VersionCase{L"LPMCU SW Versions: V1.2345", L"1.2345"},
                                         VersionCase{L"LPMCU SW Versions:      ", L""},
                                         VersionCase{L"LPMCU SW Versions: V", L""}));

// The value that moves a trackbar is what the unit has: it becomes the last
// value sent, so a move back to the operator's earlier value goes out.
TEST(ReplyGrammar, OnlyTheFirstBrightnessReplyAfterTheQueryMovesTheTrackbar) {
  ControlState state = freshState();
  state.lastBrightnessSent = 62;
  EXPECT_TRUE(controlEffects(parseReplyLines(state, L"Brightness Value: 42\r\nContrast Value: 7\r\n")).empty());
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
  ReplyEffects effects = parseReplyLines(state, L"Brightness Value: 101\r\nContrast Value: -1\r\n");
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

// The example line of each key, as the protocol reference shows it, is read
// by that key's row: it starts with the key and changes what the row reads.
void expectExamplesRead(const ReplyKey* rows, int count, wchar_t separator) {
  for (int i = 0; i < count; ++i) {
    std::wstring example = rows[i].example;
    std::wstring key = rows[i].key;
    EXPECT_EQ(example.substr(0, key.size() + 1), example.size() == key.size() ? key : key + separator);
    ControlState state = freshState();
    state.brightnessQueryPending = state.contrastQueryPending = true;
    ReplyEffects effects = parseReplyLines(state, (example + L"\r\n").c_str());
    EXPECT_TRUE(effects.indicatorsChanged || effects.resolutionChanged || effects.networkChanged ||
                !controlEffects(effects).empty() || state.lpmcuVersion[0] != 0 || state.fpmcuVersion[0] != 0 ||
                state.flmcuVersion[0] != 0)
        << std::string(example.begin(), example.end());
  }
}

TEST(ReplyGrammar, EachKeysExampleLineIsReadByItsRow) {
  expectExamplesRead(kWordLineKeys, kWordLineKeyCount, L' ');
  expectExamplesRead(kKeyedLineKeys, kKeyedLineKeyCount, L':');
}

TEST(ReplyGrammar, ATextWithoutALineEndIsNotParsed) {
  ControlState state = freshState();
  ReplyEffects changes = parseReplyLines(state, L"SOURCE HDMI1");
  EXPECT_EQ(state.videoInput, -1);
  EXPECT_FALSE(changes.indicatorsChanged || changes.resolutionChanged || changes.networkChanged);
  EXPECT_TRUE(controlEffects(changes).empty());
}

// A line is read from its last run of prompts on, the run included.
TEST(ReplyLines, ALineStartsAtItsLastRunOfPrompts) {
  for (const auto& [line, read] : std::vector<std::pair<std::wstring, std::wstring>>{
           {L"\xff>AUDIO 3", L">AUDIO 3"}, {L"#>>Video Input: VGA2", L">>Video Input: VGA2"},
           {L">SPORT: 12>>AUDIO 1", L">>AUDIO 1"}, {L"x>", L">"}, {L">>AUDIO 2", L">>AUDIO 2"},
           {L"SOURCE CV", L"SOURCE CV"}, {L"", L""}})
    EXPECT_EQ(lineFromItsPrompt(line), read);
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
const std::wstring kBlanks(1100, L' ');

INSTANTIATE_TEST_SUITE_P(
    Deliveries, DeliveredTextTest,
    testing::Values(
        DeliveryCase{"UnfinishedLineStaysUnread", {L">AUDIO 2\r\n>SOURCE CV"}, -1, 1, 0},
        DeliveryCase{"OnlyALineFeedAfterASplitLineEndIsSkipped", {L">AUDIO 5\r", L"SOURCE CV\r\n"}, 0, 4, 0},
        // As in one text, the unit behind a kept line's CR is skipped as its
        // LF, even a CR: no LF is then awaited, and "\nSOURCE CV" is no reply.
        DeliveryCase{"ASecondCrEndsNoLine", {L">AUDIO 5", L"\r\r", L"\nSOURCE CV\r\n"}, -1, 4, 0},
        // Two whole deliveries make the longest line there is: it is read whole.
        DeliveryCase{"TheLongestLineIsReadWhole", {std::wstring(1023, L'>'), std::wstring(1014, L'>') + L"AUDIO 1\r\n"},
                     -1, 0, 0},
        // A line that would outgrow the limit is dropped whole: its end is not
        // read as a line of its own, nor joined to a later line.
        DeliveryCase{"TooLongToKeepIsDroppedToItsEnd",
                     {kLongStart, std::wstring(30, L'y'), std::wstring(20, L'z'), L"SOURCE HDMI1\r\n>AUDIO 4\r\n",
                      L"AUDIO 2\r\n"},
                     -1, 1, 1062},
        DeliveryCase{"AFullTextWithoutLineEndIsKeptWhole", {std::wstring(1023, L'z'), L"\r\n>AUDIO 1\r\n"}, -1, 0, 0},
        DeliveryCase{"FullTextAfterAKeptStart", {L"AU", std::wstring(1022, L'z')}, -1, -1, 1024},
        // Texts longer than the reader delivers: a line in one text is read
        // whole, a kept start only with at most 1024 units up to the line end.
        DeliveryCase{"ALongLineInOneDeliveryIsReadWhole", {L"Video Input:" + kBlanks + L"VGA2\r\n"}, 3, -1, 0},
        DeliveryCase{"AKeptStartFinishedWithin1024Units",
                     {L"Video Input:", kBlanks.substr(0, 1020) + L"VGA2\r\n"}, 3, -1, 0},
        DeliveryCase{"AKeptStartDroppedWithALongerLine",
                     {L"Video Input:", kBlanks.substr(0, 1021) + L"VGA2\r\n>AUDIO 3\r\n"}, -1, 2, 1037},
        // Noise in front of a prompt is skipped, in the same delivery or kept
        // from the one before; a split or a second reply still reads.
        DeliveryCase{"NoiseInFrontOfThePrompt", {L"\xff>Video Input: VGA2\r\n\xfe\xfe>>AUDIO 3\r\n"}, 3, 2, 0},
        DeliveryCase{"NoiseEndingTheDeliveryBefore", {L"#", L">Video Input: VGA2\r\n"}, 3, -1, 0},
        DeliveryCase{"NoiseThenAReplySplitInTwo", {L"\xff", L">Video In", L"put: VGA2\r", L"\n#>AUDIO 3\r\n"}, 3, 2, 0},
        DeliveryCase{"ACutReplyInFrontOfTheNextPrompt", {L">SPORT: 12", L">Video Input: VGA2\r\n"}, 3, -1, 0},
        DeliveryCase{"NoPromptIsReadAsItStands", {L"#SOURCE VGA2\r\nSOURCE VGA1\r\n"}, 2, -1, 0}),
    [](const testing::TestParamInfo<DeliveryCase>& info) { return std::string(info.param.name); });

std::vector<int> inputsMutesAndResolution(const ControlState& s) {
  return {s.videoInput,     s.previousVideoInput, s.audioInput,    s.previousAudioInput, s.hdmiAudioMuted,
          s.allAudioMuted,  s.outputResolution,   s.buzzerEnabled};
}

// However a text is cut into three deliveries, empty ones too, its lines are
// read and counted as from the whole text, and an empty or a prompt-only line
// costs none of the lines behind it. Lines without a prompt show a stray or a
// missing LF (no noise is skipped in front of them). Each piece is a heap buffer of its
// exact size, so ASan sees a unit read before or past it.
TEST(DeliveredText, EveryCutIntoThreeReadsAsTheWholeText) {
  const std::wstring text = L"\nMUTE ON\r\nAUDIO 5\r\n>>\r\n\r\nSOURCE CV\r\n\nBell On\r\n\n>HDMI AUDIO MUTE ON\r\n"
                            L">>Output Resolution: 800x600@60Hz\r\n";
  // Seven lines that hold something: the unit has answered seven times.
  const int kLines = 7;
  ControlState whole = freshState();
  EXPECT_EQ(parseReplyLines(whole, text.c_str()).linesRead, kLines);
  for (std::size_t a = 0; a <= text.size(); ++a) {
    for (std::size_t b = a; b <= text.size(); ++b) {
      ControlState state = freshState();
      PartialReplyLine partial;
      int lines = 0;
      for (const std::wstring& piece : {text.substr(0, a), text.substr(a, b - a), text.substr(b)}) {
        std::unique_ptr<wchar_t[]> exact(new wchar_t[piece.size() + 1]);
        std::copy(piece.c_str(), piece.c_str() + piece.size() + 1, exact.get());
        lines += parseDeliveredText(state, partial, exact.get()).linesRead;
      }
      ASSERT_EQ(inputsMutesAndResolution(state), inputsMutesAndResolution(whole)) << "cut at " << a << " and " << b;
      ASSERT_EQ(lines, kLines) << "cut at " << a << " and " << b;
    }
  }
}
