// The simulated unit's portable core: how it cuts the byte stream into
// commands and what it answers to each.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "byte_escape.h"
#include "command_splitter.h"
#include "garbage.h"
#include "sim_core.h"

namespace {

using Lines = std::vector<std::string>;

std::string bytes(const char* data, size_t size) { return std::string(data, size); }

std::vector<SplitEvent> split(const std::string& stream, size_t cap = kDefaultCommandCap) {
  CommandSplitter splitter(cap);
  std::vector<SplitEvent> events;
  splitter.feed(stream.data(), stream.size(), events);
  return events;
}

Lines commandsOf(const std::vector<SplitEvent>& events) {
  Lines out;
  for (const SplitEvent& event : events)
    if (event.kind == SplitEvent::Command) out.push_back(event.text);
  return out;
}

// --- Splitting ---------------------------------------------------------------

struct SplitCase {
  const char* name;
  std::string stream;
  Lines commands;
};

class SimSplitterTable : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SimSplitterTable, CutsCommandsAtTheirTerminators) {
  EXPECT_EQ(commandsOf(split(GetParam().stream)), GetParam().commands);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, SimSplitterTable,
    ::testing::Values(
        // Inside brackets the plain terminators are ordinary characters.
        SplitCase{"AngleKeepsDotsAndStars", "<A.B!C%D*E>", {"<A.B!C%D*E>"}},
        SplitCase{"ZeroPaddingDropped", bytes("<SIPR[1-2-3-4]>\0\0\0\0\0\0\0\0\0R AUDIO.", 33),
                  {"<SIPR[1-2-3-4]>", "R AUDIO."}},
        SplitCase{"ContrastPadding", bytes("Contrast*\0\0Brightness*\0", 23),
                  {"Contrast*", "Brightness*"}},
        SplitCase{"BackToBack", "S SOURCE 4.S AUDIO 9.R OUTPUT!", {"S SOURCE 4.", "S AUDIO 9.", "R OUTPUT!"}},
        SplitCase{"FreeTextEndsAtCrLf", "hello there\r\nR SOURCE.", {"hello there", "R SOURCE."}},
        SplitCase{"LoneCrStaysInText", "a\rb\r\n", {"a\rb"}},
        SplitCase{"LoneLfStaysInText", "a\nb\r\n", {"a\nb"}},
        SplitCase{"BlankLineIsEmptyCommand", "R AUDIO.\r\n", {"R AUDIO.", ""}},
        SplitCase{"FirstPlainTerminatorWins", "S SOURCE 4.5.", {"S SOURCE 4.", "5."}},
        SplitCase{"AngleEndsOnlyAtClose", "<Bell\r\nOn>", {"<Bell\r\nOn>"}},
        SplitCase{"ZeroInsideCommandKept", bytes("R SOU\0RCE.", 10), {bytes("R SOU\0RCE.", 10)}},
        SplitCase{"UnterminatedHeldBack", "R SOURCE", {}},
        SplitCase{"OnlyZeros", std::string(50, '\0'), {}}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

TEST(SimSplitter, PaddingOfAnEarlierFeedIsItsOwnEvent) {
  CommandSplitter splitter;
  std::vector<SplitEvent> events;
  splitter.feed("Contrast*", 9, events);
  splitter.feed("\0\0", 2, events);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].raw, "Contrast*");
  EXPECT_EQ(events[1].kind, SplitEvent::Padding);
  EXPECT_EQ(events[1].raw, bytes("\0\0", 2));
}

TEST(SimSplitter, FreeTextRawKeepsItsLineEnd) {
  std::vector<SplitEvent> events = split("hi\r\n");
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].text, "hi");
  EXPECT_EQ(events[0].raw, "hi\r\n");
}

TEST(SimSplitter, HundredKilobytesWithoutTerminatorStayCapped) {
  CommandSplitter splitter(256);
  std::vector<SplitEvent> events;
  std::string block(1000, 'X');
  for (int i = 0; i < 100; ++i) {
    splitter.feed(block.data(), block.size(), events);
    ASSERT_LT(splitter.pendingSize(), 256u);
  }
  ASSERT_EQ(events.size(), 1u);  // reported once, not per byte
  EXPECT_EQ(events[0].kind, SplitEvent::Rejected);
  EXPECT_NE(events[0].text.find("more than 256 bytes without terminator"), std::string::npos);
}

TEST(SimSplitter, OverlongCommandIsDroppedUpToItsTerminatorThenSplittingResumes) {
  std::string stream = std::string(300, 'X') + "tail.R SOURCE.";
  std::vector<SplitEvent> events = split(stream, 256);
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].kind, SplitEvent::Rejected);
  EXPECT_EQ(events[1].kind, SplitEvent::Rejected);
  EXPECT_NE(events[1].text.find("305 bytes"), std::string::npos) << events[1].text;
  EXPECT_EQ(events[2].kind, SplitEvent::Command);
  EXPECT_EQ(events[2].text, "R SOURCE.");
}

TEST(SimSplitter, CommandOfExactlyTheCapFits) {
  std::string command = std::string(255, 'X') + "*";
  EXPECT_EQ(commandsOf(split(command, 256)), Lines{command});
  std::string longer = std::string(256, 'X') + "*";
  EXPECT_EQ(commandsOf(split(longer, 256)), Lines{});
}

// --- Replies -----------------------------------------------------------------
// What the unit answers to every command the panel sends, and the panel's
// reading of it, is checked by the round trip through the reply grammar;
// here stand the commands the panel never sends.

struct ReplyCase {
  const char* name;
  Lines commands;  // sent in order to a factory-fresh unit
  Lines reply;     // the reply to the last one
};

class SimReplyTable : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(SimReplyTable, AnswersWithExactLines) {
  SimState state = factorySimState();
  Lines reply;
  for (const std::string& command : GetParam().commands) reply = handleCommand(state, command);
  EXPECT_EQ(reply, GetParam().reply);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SimReplyTable,
    ::testing::Values(
        ReplyCase{"SelectResolutionLowerCase", {"S OUTPUT a!"}, {">OUTPUT 1440x900@60Hz\r\n"}},
        ReplyCase{"FreeText", {"hello"}, {">ERR unknown command\r\n"}},
        ReplyCase{"BlankLineGetsNothing", {""}, {}},
        ReplyCase{"CaseMatters", {"r source."}, {">ERR unknown command\r\n"}},
        ReplyCase{"MissingTerminatorVariant", {"<BellOn"}, {">ERR unknown command\r\n"}},
        ReplyCase{"VideoOutOfRange", {"S SOURCE 9."}, {">ERR bad argument\r\n"}},
        ReplyCase{"VideoLeadingZero", {"S SOURCE 04."}, {">ERR bad argument\r\n"}},
        ReplyCase{"AudioOutOfRange", {"S AUDIO 10."}, {">ERR bad argument\r\n"}},
        ReplyCase{"ResolutionTwoDigits", {"S OUTPUT 10!"}, {">ERR bad argument\r\n"}},
        ReplyCase{"ResolutionNotHex", {"S OUTPUT G!"}, {">ERR bad argument\r\n"}},
        ReplyCase{"IpOctetTooBig", {"<SIPR[256-0-0-0]>"}, {">ERR bad argument\r\n"}},
        ReplyCase{"IpDots", {"<SIPR[1.2.3.4]>"}, {">ERR bad argument\r\n"}},
        ReplyCase{"PortTooBig", {"<SPORT[65536]>"}, {">ERR bad argument\r\n"}},
        ReplyCase{"BadPortKeepsOld", {"<SPORT[99999999999]>", "<SPORT>"}, {">SPORT: 1024\r\n"}},
        ReplyCase{"BrightnessTwoDigits", {"Brightness 50*"}, {">ERR bad argument\r\n"}},
        ReplyCase{"LevelTooHigh", {"A 3 INPUT 8%"}, {">ERR bad argument\r\n"}},
        ReplyCase{"VolumeBadDirection", {"C+ OUTPUT%"}, {">ERR unknown command\r\n"}}),
    [](const ::testing::TestParamInfo<ReplyCase>& info) { return std::string(info.param.name); });

// The panel recognises a line by its first word or by the text before a
// colon; these words would make it act on an acknowledgement or an error.
const char* const kReplyKeys[] = {"AUDIO", "HDMI&HDBaseT", "SOURCE", "HDMI",
                                  "Analog", "MUTE", "OUTPUT", "Bell"};

void expectNotARecognisedReply(const std::string& line) {
  ASSERT_GE(line.size(), 3u);
  EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
  EXPECT_EQ(line.find(':'), std::string::npos) << line;
  std::string body = line.substr(1, line.size() - 3);
  std::string firstWord = body.substr(0, body.find(' '));
  for (const char* key : kReplyKeys) EXPECT_NE(firstWord, key) << line;
}

TEST(SimReplies, AcknowledgementAndErrorsCarryNoReplyKey) {
  SimState state = factorySimState();
  for (const char* command : {"<DEFAULT>", "B+ OUTPUT%", "Brightness 005*", "bogus", "S SOURCE 99."})
    for (const std::string& line : handleCommand(state, command)) expectNotARecognisedReply(line);
}

TEST(SimReplies, EveryLineStartsWithPromptAndEndsWithCrLf) {
  SimState state = factorySimState();
  for (const char* command : {"R SOURCE.", "<SW>", "S AUDIO 9.", "<GAR>", "MUTE ON%", "x"})
    for (const std::string& line : handleCommand(state, command)) {
      EXPECT_EQ(line.front(), '>');
      EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
      EXPECT_EQ(line.find('\r'), line.size() - 2);
    }
}

TEST(SimState, SetCommandsChangeTheirSetting) {
  SimState state = factorySimState();
  handleCommand(state, "A 3 INPUT 5%");
  EXPECT_EQ(state.inputLevels[3], 5);
  int volume = state.hdmiVolume;
  handleCommand(state, "B+ OUTPUT%");
  EXPECT_EQ(state.hdmiVolume, volume + 1);
  handleCommand(state, "A- OUTPUT%");
  EXPECT_EQ(state.analogVolume, volume - 1);
  handleCommand(state, "VStart+*");
  handleCommand(state, "HStart-*");
  handleCommand(state, "HTotal+*");
  EXPECT_EQ(state.vgaVStart, 1);
  EXPECT_EQ(state.vgaHStart, -1);
  EXPECT_EQ(state.vgaHTotal, 1);
  handleCommand(state, "Auto Adjust*");
  EXPECT_EQ(state.vgaVStart, 0);
  EXPECT_EQ(state.vgaHStart, 0);
  EXPECT_EQ(state.vgaHTotal, 0);
  handleCommand(state, "Contrast 007*");
  EXPECT_EQ(state.contrast, 7);
}

TEST(SimState, VolumeStopsAtItsLimits) {
  SimState state = factorySimState();
  for (int i = 0; i < 2 * kMaxVolume; ++i) handleCommand(state, "B+ OUTPUT%");
  EXPECT_EQ(state.hdmiVolume, kMaxVolume);
  for (int i = 0; i < 2 * kMaxVolume; ++i) handleCommand(state, "B- OUTPUT%");
  EXPECT_EQ(state.hdmiVolume, 0);
}

TEST(SimState, RejectedCommandChangesNothing) {
  SimState state = factorySimState();
  handleCommand(state, "<SIPR[1-2-3-999]>");
  EXPECT_EQ(handleCommand(state, "<SIPR>"), Lines{">SIPR: 192.168.1.20\r\n"});
  handleCommand(state, "A 3 INPUT 9%");
  EXPECT_EQ(state.inputLevels[3], factorySimState().inputLevels[3]);
}

// --- Transcript escaping and line noise ---------------------------------------

TEST(SimEscape, ShowsEveryByteUnambiguously) {
  EXPECT_EQ(escapeBytes(bytes("Contrast*\0\0", 11)), "Contrast*\\0\\0");
  EXPECT_EQ(escapeBytes(">OK\r\n"), ">OK\\r\\n");
  EXPECT_EQ(escapeBytes("a\\b"), "a\\\\b");
  EXPECT_EQ(escapeBytes("\x01\x7F\x80\xFF"), "\\x01\\x7F\\x80\\xFF");
  EXPECT_EQ(escapeBytes(bytes("\0" "1", 2)), "\\01");
}

TEST(SimGarbage, IsReproducibleAndAtLeastTheAskedSize) {
  std::mt19937 a(7), b(7);
  std::string first = makeGarbage(a, 500);
  EXPECT_GE(first.size(), 500u);
  EXPECT_EQ(first, makeGarbage(b, 500));
}

TEST(SimGarbage, ContainsTheNastyKinds) {
  std::mt19937 random(1);
  std::string noise = makeGarbage(random, 200000);
  EXPECT_NE(noise.find(">\r\n"), std::string::npos);  // a lone prompt line
  bool highByte = false, crWithoutLf = false;
  for (size_t i = 0; i < noise.size(); ++i) {
    highByte = highByte || static_cast<unsigned char>(noise[i]) >= 0x80;
    crWithoutLf = crWithoutLf || (noise[i] == '\r' && (i + 1 == noise.size() || noise[i + 1] != '\n'));
  }
  EXPECT_TRUE(highByte);
  EXPECT_TRUE(crWithoutLf);
  EXPECT_NE(noise.find("SPORT: "), std::string::npos);
}

}  // namespace
