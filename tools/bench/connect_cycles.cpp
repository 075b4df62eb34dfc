#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

#include "protocol/control_state.h"
#include "tools/bench/bench_peer.h"
#include "tools/bench/panel_scenarios.h"
#include "tools/bench/process_counts.h"
#include "tools/bench/rx_watch.h"
#include "tools/bench/unit_traffic.h"
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
  BenchPeer* peer;
  std::atomic<bool> stop{false};
};
void talk(Talker* t) {
  for (int n = 0; !t->stop; ++n) {
    readAvailable(*t->peer);
    writeAll(*t->peer, videoReplyLine(n));
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
  BenchPeer peer;
  if (!startPanelWithPeer(ports, peer, false, &r.why)) return r;
  int index = portItemIndex(ports.program);
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
    pumpMs(20);   // the message loop between two choices of the operator
  };
  for (int i = 0; i < kWarmUpCycles; ++i) cycle(nullptr);
  pumpMs(300);
  r.handlesBefore = r.handlesPeak = ownHandleCount();
  r.tableBefore = r.tablePeak = ownHandleTableCount();
  r.threadsBefore = r.threadsPeak = ownThreadCount();
  long openedBefore = countOf(paneText(), L"System> Opened ");
  long closedBefore = countOf(paneText(), L"System> Closed ");
  long deliveriesBefore = rxWatch.deliveries;

  std::vector<double> times;
  for (int i = 0; i < cycles; ++i) {
    cycle(&times);
    if ((i + 1) % kSampleEvery == 0) {
      r.handlesPeak = std::max(r.handlesPeak, ownHandleCount());
      r.tablePeak = std::max(r.tablePeak, ownHandleTableCount());
      r.threadsPeak = std::max(r.threadsPeak, ownThreadCount());
    }
  }
  pumpMs(300);
  r.handlesAfter = ownHandleCount();
  r.tableAfter = ownHandleTableCount();
  r.threadsAfter = ownThreadCount();
  talker.stop = true;
  talking.join();
  watchdog.stop = true;
  watching.join();
  closeBenchPeer(peer);

  std::wstring pane = paneText();
  r.cycles = static_cast<int>(times.size());
  r.connectMs = spreadOf(times);
  r.openedLines = countOf(pane, L"System> Opened ") - openedBefore;
  r.closedLines = countOf(pane, L"System> Closed ") - closedBefore;
  r.deliveries = rxWatch.deliveries - deliveriesBefore;
  r.ok = r.cycles == cycles;
  return r;
}
