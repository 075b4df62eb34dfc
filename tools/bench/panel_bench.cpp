// One in-process measurement of the control panel per run (its state is
// process-wide):
//   panel_bench reply-delay PAIRS
//   panel_bench sustained SECONDS [BYTES_PER_SECOND]
//   panel_bench cycles COUNT
//   panel_bench unplug-rig ROUNDS            (the rig's COM4/COM3 pair)
//   panel_bench unplug-sim PORT ROUNDS       (vrx-sim with --hangup-after 6 on PORT)
//   panel_bench hostile SECONDS [PORT]       (PORT: vrx-sim --garbage; else own noise on COM7/COM8)
//   panel_bench long-session BYTES
//   panel_bench paste CHARACTERS RUNS
//   panel_bench pane
//   panel_bench clicks PRELOAD_BYTES SECONDS [BYTES_PER_SECOND] [CLICK_EVERY_MS]
// Exit code 0 when the figures show no fault, 1 otherwise, 2 on a bad command line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/bench/panel_report.h"
#include "tools/bench/scenarios/panel_scenarios.h"
#include "tools/panel-driver/message_box_watcher.h"

namespace {
double numberArg(int argc, char** argv, int i, double fallback) {
  return i < argc ? std::atof(argv[i]) : fallback;
}

std::wstring wideArg(int argc, char** argv, int i) {
  if (i >= argc) return L"";
  std::string text = argv[i];
  return std::wstring(text.begin(), text.end());
}

int run(const std::string& mode, int argc, char** argv) {
  PanelPorts ports = sessionTestPorts();
  if (mode == "reply-delay") {
    ReplyDelay r = measureReplyDelay(ports, static_cast<int>(numberArg(argc, argv, 2, 1000)));
    printReplyDelay(r);
    return r.ok ? 0 : 1;
  }
  if (mode == "sustained") {
    SustainedInput r = measureSustainedInput(ports, numberArg(argc, argv, 2, 60), numberArg(argc, argv, 3, 11520));
    printSustainedInput(r);
    return r.ok && r.inOrder == r.written && r.paneTailUnits > 0 ? 0 : 1;
  }
  if (mode == "cycles") {
    ConnectCycles r = measureConnectCycles(ports, static_cast<int>(numberArg(argc, argv, 2, 1000)));
    printConnectCycles(r);
    return r.ok ? 0 : 1;
  }
  if (mode == "unplug-rig") {
    Unplug r = measureUnplug(sessionUnplugPorts(), UnplugBy::RigPair, static_cast<int>(numberArg(argc, argv, 2, 5)));
    printUnplug(r, UnplugBy::RigPair);
    return r.ok ? 0 : 1;
  }
  if (mode == "unplug-sim") {
    PanelPorts sim;
    sim.program = wideArg(argc, argv, 2);
    sim.peer.clear();
    Unplug r = measureUnplug(sim, UnplugBy::Simulator, static_cast<int>(numberArg(argc, argv, 3, 5)));
    printUnplug(r, UnplugBy::Simulator);
    return r.ok ? 0 : 1;
  }
  if (mode == "hostile") {
    if (argc > 3) {
      ports.program = wideArg(argc, argv, 3);
      ports.peer.clear();
    }
    HostileInput r = measureHostileInput(ports, numberArg(argc, argv, 2, 60), 4000);
    printHostileInput(r, ports);
    return r.ok ? 0 : 1;
  }
  if (mode == "long-session") {
    LongSession r = measureLongSession(ports, static_cast<unsigned long long>(numberArg(argc, argv, 2, 1048576)),
                                       {100 * 1024, 500 * 1024, 1024 * 1024});
    printLongSession(r);
    return r.ok ? 0 : 1;
  }
  if (mode == "clicks") {
    auto preload = static_cast<unsigned long long>(numberArg(argc, argv, 2, 2621440));
    ClicksUnderStream r = measureClicksUnderStream(ports, preload, numberArg(argc, argv, 3, 90),
                                                   numberArg(argc, argv, 4, 10830), numberArg(argc, argv, 5, 5000));
    printClicksUnderStream(r);
    return r.ok ? 0 : 1;
  }
  if (mode == "pane") {
    PaneCosts r = measurePaneCosts({1000, 100000, 150000, 500000, 1000000, 2500000});
    printPaneCosts(r);
    return r.ok ? 0 : 1;
  }
  if (mode == "paste") {
    LongPaste r = measureLongPaste(ports, static_cast<int>(numberArg(argc, argv, 2, 40000)),
                                   static_cast<int>(numberArg(argc, argv, 3, 5)));
    printLongPaste(r);
    return r.ok ? 0 : 1;
  }
  std::fprintf(stderr, "panel_bench: unknown measurement %s\n", mode.c_str());
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: panel_bench reply-delay|sustained|cycles|unplug-rig|unplug-sim|hostile|long-session|"
                         "paste|pane|clicks ...\n");
    return 2;
  }
  // The program's boxes wait for an operator; the bench presses OK.
  MessageBoxWatcher watcher;
  int code = run(argv[1], argc, argv);
  std::vector<std::wstring> boxes = watcher.boxes();
  std::printf("    message boxes the program showed (pressed OK by the bench): %zu\n", boxes.size());
  for (const std::wstring& box : boxes) std::printf("      \"%ls\"\n", box.c_str());
  std::fflush(stdout);
  // The reader may be blocked on the main window; end without tearing down.
  ExitProcess(static_cast<UINT>(code));
}
