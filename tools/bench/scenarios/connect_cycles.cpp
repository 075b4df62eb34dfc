#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

#include "protocol/control_state.h"
#include "tools/bench/process_counts.h"
#include "tools/bench/scenarios/panel_scenarios.h"
#include "tools/bench/scenarios/scenario_steps.h"
#include "tools/bench/scenarios/unit_traffic.h"
#include "tools/panel-driver/panel_in_process.h"
#include "tools/panel-driver/rx_recorder.h"
#include "tools/panel-driver/unit_peer.h"
#include "tools/panel-driver/waiting.h"
#include "ui/main/main_window.h"

namespace {
constexpr int kWarmUpCycles = 5;
constexpr double kDeadlockMs = 30000;
constexpr int kSampleEvery = 25;
constexpr DWORD kTalkEveryMs = 150;

// The unit keeps talking through every close and open, so that closes meet
// readers in the middle of a delivery. Its lines come further apart than one
// reader cycle, so each is a burst of its own.
struct Talker {
  UnitPeer* peer;
  std::atomic<bool> stop{false};
};
void talk(Talker* t) {
  for (int n = 0; !t->stop; ++n) {
    t->peer->readAvailable();
    t->peer->write(videoReplyLine(n));
    Sleep(kTalkEveryMs);
  }
}

// A connect that never returns is a deadlock: say so and end the process,
// rather than hang the run.
struct Watchdog {
  std::atomic<double> cycleStartMs{0};   // 0 between cycles
  std::atomic<bool> stop{false};
};
void watch(Watchdog* w) {
  while (!w->stop) {
    double started = w->cycleStartMs;
    if (started != 0 && nowMs() - started > kDeadlockMs) {
      std::printf("connect cycles: connectToPort has not returned for %.0f s: deadlock\n", kDeadlockMs / 1000);
      std::fflush(stdout);
      TerminateProcess(GetCurrentProcess(), 3);
    }
    Sleep(200);
  }
}
}  // namespace

ConnectCycles measureConnectCycles(const PanelPorts& ports, int cycles) {
  ConnectCycles r;
  UnitPeer peer;
  RxRecorder rx;
  rx.keepEach = false;
  if (!startPanelWithPeer(ports, peer, rx, false, &r.why)) return r;
  int index = listedPortIndex(ports.program);
  Talker talker{&peer};
  std::thread talking(talk, &talker);
  Watchdog watchdog;
  std::thread watching(watch, &watchdog);

  auto cycle = [&](std::vector<double>* times) {
    watchdog.cycleStartMs = nowMs();
    double start = nowMs();
    connectToPort(index);
    double took = nowMs() - start;
    watchdog.cycleStartMs = 0;
    if (times) times->push_back(took);
    pumpFor(20);   // the message loop between two choices of the operator
  };
  for (int i = 0; i < kWarmUpCycles; ++i) cycle(nullptr);
  pumpFor(300);
  r.handlesBefore = r.handlesPeak = ownHandleCount();
  r.tableBefore = r.tablePeak = ownHandleTableCount();
  r.threadsBefore = r.threadsPeak = ownThreadCount();
  PaneInsertions lines({L"System> Opened ", L"System> Closed "});
  long deliveriesBefore = rx.handled;

  std::vector<double> times;
  for (int i = 0; i < cycles; ++i) {
    cycle(&times);
    if ((i + 1) % kSampleEvery == 0) {
      r.handlesPeak = std::max(r.handlesPeak, ownHandleCount());
      r.tablePeak = std::max(r.tablePeak, ownHandleTableCount());
      r.threadsPeak = std::max(r.threadsPeak, ownThreadCount());
    }
  }
  pumpFor(300);
  r.handlesAfter = ownHandleCount();
  r.tableAfter = ownHandleTableCount();
  r.threadsAfter = ownThreadCount();
  talker.stop = true;
  talking.join();
  watchdog.stop = true;
  watching.join();
  peer.close();

  r.cycles = static_cast<int>(times.size());
  r.connectMs = spreadOf(times);
  r.openedLines = lines.found(0);
  r.closedLines = lines.found(1);
  r.deliveries = rx.handled - deliveriesBefore;
  r.ok = r.cycles == cycles;
  return r;
}
