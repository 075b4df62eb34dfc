// The simulated unit as `make run` and integrators meet it: how it cuts the
// byte stream into commands (zero padding dropped), the errors it answers,
// that its acknowledgements never read as a reply, and its transcript. What
// it answers to every command the panel sends is the round trip's part.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "byte_escape.h"
#include "command_splitter.h"
#include "protocol/reply_assembly.h"
#include "sim_core.h"
#include "sim_options.h"

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
        SplitCase{"BlankLineIsEmptyCommand", "R AUDIO.\r\n", {"R AUDIO.", ""}},
        SplitCase{"UnterminatedHeldBack", "R SOURCE", {}},
        SplitCase{"OnlyZeros", std::string(50, '\0'), {}}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

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
        ReplyCase{"FreeText", {"hello"}, {">ERR unknown command\r\n"}},
        ReplyCase{"VideoOutOfRange", {"S SOURCE 9."}, {">ERR bad argument\r\n"}},
        ReplyCase{"IpOctetTooBig", {"<SIPR[256-0-0-0]>"}, {">ERR bad argument\r\n"}},
        ReplyCase{"PortTooBig", {"<SPORT[65536]>"}, {">ERR bad argument\r\n"}},
        ReplyCase{"BadPortKeepsOld", {"<SPORT[99999999999]>", "<SPORT>"}, {">SPORT: 1024\r\n"}},
        ReplyCase{"LevelTooHigh", {"A 3 INPUT 8%"}, {">ERR bad argument\r\n"}}),
    [](const ::testing::TestParamInfo<ReplyCase>& info) { return std::string(info.param.name); });

// The unit's acknowledgements and errors are lines the panel reads as
// nothing: they change nothing it knows or shows.
TEST(SimReplies, AcknowledgementsAndErrorsChangeNothingInThePanel) {
  SimState unit = factorySimState();
  for (const char* command : {"<DEFAULT>", "B+ OUTPUT%", "Brightness 005*", "bogus", "S SOURCE 99."}) {
    for (const std::string& line : handleCommand(unit, command)) {
      ControlState panel;
      applyStartValues(panel);
      ReplyEffects effects = parseReplyLines(panel, std::wstring(line.begin(), line.end()).c_str());
      EXPECT_FALSE(effects.indicatorsChanged || effects.resolutionChanged || effects.networkChanged) << line;
      EXPECT_EQ(effects.buzzerItemText, nullptr) << line;
      EXPECT_EQ(panel.videoInput, -1);
    }
  }
}

TEST(SimEscape, ShowsEveryByteUnambiguously) {
  EXPECT_EQ(escapeBytes(bytes("Contrast*\0\0", 11)), "Contrast*\\0\\0");
  EXPECT_EQ(escapeBytes(">OK\r\n"), ">OK\\r\\n");
  EXPECT_EQ(escapeBytes("a\\b"), "a\\\\b");
  EXPECT_EQ(escapeBytes("\x01\x7F\x80\xFF"), "\\x01\\x7F\\x80\\xFF");
  EXPECT_EQ(escapeBytes(bytes("\0" "1", 2)), "\\01");
}

// --leftover reads what the transcript writes, so any bytes go both ways.
TEST(SimEscape, ReadsBackEveryByteAndRefusesUnknownEscapes) {
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  std::string back, error;
  ASSERT_TRUE(unescapeBytes(escapeBytes(all), back, error)) << error;
  EXPECT_EQ(back, all);
  ASSERT_TRUE(unescapeBytes("\\x02>Mute\\r\\n\\xfe\\01", back, error)) << error;
  EXPECT_EQ(back, bytes("\x02>Mute\r\n\xFE\0" "1", 11));
  for (const char* bad : {"\\", "a\\t", "\\x4", "\\x4G", "\\X41"})
    EXPECT_FALSE(unescapeBytes(bad, back, error)) << bad;
}

TEST(SimOptions, LeftoverTakesEscapedBytesUpToItsLimit) {
  std::string error;
  auto leftover = [&](const std::string& text, SimOptions& options) {
    return parseSimOptions({"/tmp/ttyVRX", "--leftover", text}, options, error);
  };
  const std::string full = std::string(kMaxLeftoverBytes - 1, 'a') + "\\xFF";
  SimOptions taken, tooLong, badEscape;
  ASSERT_TRUE(leftover(full, taken)) << error;
  EXPECT_EQ(taken.leftover, std::string(kMaxLeftoverBytes - 1, 'a') + "\xFF");
  EXPECT_FALSE(leftover(full + "\\n", tooLong));
  EXPECT_EQ(error, "--leftover takes at most 4096 bytes");
  EXPECT_FALSE(leftover("\\q", badEscape));
  EXPECT_EQ(error.rfind("--leftover: bad escape at byte 1", 0), 0u) << error;
}

}  // namespace
