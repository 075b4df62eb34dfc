#include "tests/support/command_stamps.h"

#include "protocol/command_set.h"
#include "tools/panel-driver/timing.h"
#include "ui/main/command_output.h"
#include "ui/main/console_pane.h"

namespace {
std::vector<double> stamps;

Transmitted stampAndTransmit(const wchar_t* text, int size) {
  stamps.push_back(nowMs());
  return transmitOnSelectedLink(text, size);
}

void echoInThePane(const wchar_t* line) { ConsolePane::appendLine(line, ConsoleLineKind::Tx); }
}  // namespace

void stampCommandsOnTheirWay() {
  stamps.clear();
  setCommandOutput(CommandOutput{stampAndTransmit, echoInThePane, reportNotSent});
}

const std::vector<double>& commandStamps() { return stamps; }

double shortestGapBetweenCommands() {
  double shortest = -1;
  for (std::size_t i = 1; i < stamps.size(); ++i) {
    double gap = stamps[i] - stamps[i - 1];
    if (shortest < 0 || gap < shortest) shortest = gap;
  }
  return shortest;
}
