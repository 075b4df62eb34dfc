// vrx-sim's command line.
#include <gtest/gtest.h>

#include "sim_options.h"

namespace {

bool parse(std::vector<std::string> args, SimOptions& options, std::string& error) {
  return parseSimOptions(args, options, error);
}

TEST(SimOptions, LinkAloneTakesDefaults) {
  SimOptions options;
  std::string error;
  ASSERT_TRUE(parse({"/tmp/ttyVRX"}, options, error)) << error;
  EXPECT_EQ(options.linkPath, "/tmp/ttyVRX");
  EXPECT_FALSE(options.tcp);
  EXPECT_EQ(options.replyDelayMs, 0);
  EXPECT_EQ(options.hangupAfter, 0);
  EXPECT_EQ(options.commandCap, 256u);
}

TEST(SimOptions, ReadsEveryValue) {
  SimOptions options;
  std::string error;
  ASSERT_TRUE(parse({"--delay", "30", "--chunk", "3", "--chunk-pause", "5", "--transcript", "t.log",
                     "--silent", "--garbage", "--garbage-rate", "900", "--seed", "42",
                     "--hangup-after", "4", "--comeback-after", "700", "--max-command", "64",
                     "-v", "link"},
                    options, error))
      << error;
  EXPECT_EQ(options.replyDelayMs, 30);
  EXPECT_EQ(options.chunkBytes, 3u);
  EXPECT_EQ(options.chunkPauseMs, 5);
  EXPECT_EQ(options.transcriptPath, "t.log");
  EXPECT_TRUE(options.silent);
  EXPECT_TRUE(options.garbage);
  EXPECT_EQ(options.garbageRate, 900);
  EXPECT_EQ(options.seed, 42u);
  EXPECT_EQ(options.hangupAfter, 4);
  EXPECT_EQ(options.comebackAfterMs, 700);
  EXPECT_EQ(options.commandCap, 64u);
  EXPECT_TRUE(options.verbose);
  EXPECT_EQ(options.linkPath, "link");
}

TEST(SimOptions, TcpPortIsOptional) {
  SimOptions plain, withPort;
  std::string error;
  ASSERT_TRUE(parse({"--tcp", "link"}, plain, error)) << error;
  EXPECT_TRUE(plain.tcp);
  EXPECT_EQ(plain.tcpPort, 1024);
  EXPECT_EQ(plain.linkPath, "link");
  ASSERT_TRUE(parse({"link", "--tcp", "15000"}, withPort, error)) << error;
  EXPECT_EQ(withPort.tcpPort, 15000);
}

TEST(SimOptions, RejectsBadCommandLines) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"--delay", "link"},
      {"link", "--delay"},
      {"link", "--delay", "-5"},
      {"link", "--chunk", "0"},
      {"link", "--tcp", "70000"},
      {"link", "--frobnicate"},
      {"link", "other"},
      {"link", "--comeback-after", "100"},
  };
  for (const auto& args : bad) {
    SimOptions options;
    std::string error;
    EXPECT_FALSE(parse(args, options, error)) << (args.empty() ? "(none)" : args.back());
    EXPECT_FALSE(error.empty());
  }
}

TEST(SimOptions, HelpNeedsNoLink) {
  SimOptions options;
  std::string error;
  ASSERT_TRUE(parse({"--help"}, options, error));
  EXPECT_TRUE(options.help);
  EXPECT_NE(simUsage().find("--hangup-after"), std::string::npos);
}

}  // namespace
