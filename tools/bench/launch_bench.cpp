// Measurements of the control panel as its own process:
//   launch_bench startup RUNS        process start -> main window shown, beside
//                                    a minimal Win32 program, runs alternating
//   launch_bench idle SECONDS PORT   CPU time while connected to PORT and idle
// The programs are taken from this program's own directory.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/bench/spread.h"
#include "tools/panel-driver/panel_in_process.h"
#include "tools/panel-driver/program_process.h"
#include "tools/panel-driver/session_environment.h"
#include "tools/panel-driver/timing.h"
#include "tools/panel-driver/unit_peer.h"

namespace {
int measureStartup(int runs) {
  std::vector<double> panel, minimal;
  for (int i = 0; i < runs; ++i) {
    {
      ProgramProcess a;
      if (!a.started()) {
        std::printf("start-up: the control panel's window did not show\n");
        return 1;
      }
      panel.push_back(a.shownAfterMs());
    }
    ProgramProcess b(L"minimal_window.exe", L"vrx_bench_minimal", L"Minimal Window");
    if (!b.started()) {
      std::printf("start-up: the minimal window did not show\n");
      return 1;
    }
    minimal.push_back(b.shownAfterMs());
  }
  Spread p = spreadOf(panel), m = spreadOf(minimal);
  std::printf("start-up: process start -> main window visible (QueryPerformanceCounter before CreateProcessW,\n"
              "  FindWindowW + IsWindowVisible polled every 1 ms), %d runs of each, alternating, same Wine\n"
              "  prefix and wineserver, same run:\n", runs);
  std::printf("    vrx2600-control.exe   median %6.1f ms   min %6.1f   max %6.1f\n", p.median, p.min, p.max);
  std::printf("    minimal_window.exe    median %6.1f ms   min %6.1f   max %6.1f\n", m.median, m.min, m.max);
  std::printf("    ratio (medians)       %.2f\n", m.median > 0 ? p.median / m.median : 0.0);
  return 0;
}

double cpuMs(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
  auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

int measureIdle(double seconds, const std::wstring& port, const std::wstring& peerPort) {
  int index = listedPortIndex(port);
  UnitPeer peer;
  if (index < 0 || !peer.open(peerPort)) {
    std::printf("idle: %ls is not listed or its peer cannot be opened\n", port.c_str());
    return 1;
  }
  ProgramProcess panel;
  if (!panel.started()) {
    std::printf("idle: the control panel's window did not show\n");
    return 1;
  }
  PostMessageW(panel.mainWindow(), WM_COMMAND, MAKEWPARAM(800 + index, 0), 0);
  std::string queries;
  double until = nowMs() + 5000;
  while (queries.size() < 42 && nowMs() < until) {
    queries += peer.readAvailable();
    Sleep(20);
  }
  Sleep(1000);   // past the opening sequence
  peer.readAvailable();
  double cpu0 = cpuMs(panel.process()), wall0 = nowMs();
  std::printf("IDLE-START\n");
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(seconds * 1000));
  double cpu1 = cpuMs(panel.process()), wall1 = nowMs();
  std::printf("IDLE-END\n");
  std::fflush(stdout);
  std::string during = peer.readAvailable();
  panel.close();
  peer.close();
  double share = (cpu1 - cpu0) / (wall1 - wall0) * 100.0;
  std::printf("idle cost: vrx2600-control.exe as its own process, connected to %ls (port item %d, the\n"
              "  peer read the %zu bytes of the opening queries), then idle for %.1f s%s\n", port.c_str(),
              800 + index, queries.size(), (wall1 - wall0) / 1000,
              during.empty() ? "" : " (it wrote to the port meanwhile!)");
  std::printf("    GetProcessTimes (kernel + user): %.1f ms = %.3f %% of one core (Wine answers zero for\n"
              "      another process's times)\n", cpu1 - cpu0, share);
  return queries.size() >= 42 ? 0 : 1;
}
}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "startup") return measureStartup(argc > 2 ? std::atoi(argv[2]) : 7);
  if (mode == "idle") {
    return measureIdle(argc > 2 ? std::atof(argv[2]) : 30, testPortName(), testPeerName());
  }
  std::fprintf(stderr, "usage: launch_bench startup RUNS | idle SECONDS\n");
  return 2;
}
