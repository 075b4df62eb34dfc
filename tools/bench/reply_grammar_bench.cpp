// Throughput of the reply grammar on the unit's own replies: the simulated
// unit answers every query and setting, the answers are cut into bursts of at
// most 1023 units at line ends (as the serial reader delivers them), and the
// bursts are parsed over and over for a fixed time.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "protocol/reply_assembly.h"
#include "sim_core.h"

namespace {
constexpr std::size_t kBurstUnits = 1023;
constexpr double kMinSeconds = 3.0;
constexpr int kCommandRounds = 4;   // enough replies for several full bursts

// Every query and a spread of settings, so each handler of the grammar runs.
const char* const kCommands[] = {
    "R SOURCE.",     "R AUDIO.",       "R OUTPUT!",      "<SIPR>",         "<SPORT>",
    "<SUBR>",        "<GAR>",          "<BellStatus>",   "<SW>",           "<BellOn>",
    "<BellOff>",     "S SOURCE 4.",    "S SOURCE 7.",    "S AUDIO 3.",     "S AUDIO 9.",
    "B+ OUTPUT%",    "A- OUTPUT%",     "CLOSE 1%",       "OPEN 1%",        "MUTE ON%",
    "MUTE OFF%",     "<SIPR[10-1-2-3]>", "<SPORT[5000]>", "R BRIGHTNESS!", "R CONTRAST!",
};

std::vector<std::wstring> unitBursts(std::size_t* lines) {
  SimState sim = factorySimState();
  std::vector<std::string> replyLines;
  for (int round = 0; round < kCommandRounds; ++round) {
    for (const char* command : kCommands) {
      for (const std::string& line : handleCommand(sim, command)) replyLines.push_back(line);
    }
  }
  *lines = replyLines.size();
  std::vector<std::wstring> bursts(1);
  for (const std::string& line : replyLines) {
    if (bursts.back().size() + line.size() > kBurstUnits) bursts.emplace_back();
    for (unsigned char c : line) bursts.back() += static_cast<wchar_t>(c);
  }
  return bursts;
}
}  // namespace

int main() {
  std::size_t linesPerRound = 0;
  std::vector<std::wstring> bursts = unitBursts(&linesPerRound);
  std::size_t bytesPerRound = 0;
  for (const std::wstring& burst : bursts) bytesPerRound += burst.size();

  ControlState state;
  applyStartValues(state);
  using Clock = std::chrono::steady_clock;
  Clock::time_point start = Clock::now();
  double seconds = 0;
  std::size_t rounds = 0;
  long checksum = 0;
  while (seconds < kMinSeconds) {
    for (int i = 0; i < 100; ++i) {
      for (const std::wstring& burst : bursts) {
        state.brightnessQueryPending = true;
        state.contrastQueryPending = true;
        checksum += parseReplyLines(state, burst.c_str()).indicatorsChanged;
      }
    }
    rounds += 100;
    seconds = std::chrono::duration<double>(Clock::now() - start).count();
  }
  double bytes = double(bytesPerRound) * double(rounds);
  double lines = double(linesPerRound) * double(rounds);
  std::printf("reply grammar throughput (native, -O2, no sanitizers; parseReplyLines on the\n"
              "  simulated unit's replies to %d x %zu commands: %zu lines, %zu bytes in %zu bursts\n"
              "  of at most %zu units; steady_clock over %zu rounds, %.2f s):\n",
              kCommandRounds, sizeof kCommands / sizeof kCommands[0], linesPerRound, bytesPerRound, bursts.size(),
              kBurstUnits, rounds, seconds);
  std::printf("  %.1f MB/s (10^6 received bytes per second), %.0f ns per line\n", bytes / seconds / 1e6,
              seconds * 1e9 / lines);
  std::printf("  line speed for comparison: 115200 baud = 0.0115 MB/s, so the grammar is %.0fx faster\n",
              bytes / seconds / 11520.0);
  return checksum == -1 ? 1 : 0;
}
