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

#include "links/port_discovery.h"
#include "tools/bench/bench_peer.h"
#include "tools/bench/bench_timing.h"

namespace {
constexpr double kShowLimitMs = 30000;
constexpr DWORD kExitLimitMs = 10000;

struct Launched {
  PROCESS_INFORMATION process{};
  HWND window = nullptr;
  double shownAfterMs = -1;   // from just before CreateProcessW
};

std::wstring besideThisProgram(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path);
  return dir.substr(0, dir.find_last_of(L"\\/") + 1) + name;
}

// Starts the program with its standard output thrown away (the panel lists
// its ports there) and polls until its window is visible.
bool launchUntilShown(const wchar_t* program, const wchar_t* windowClass, const wchar_t* title, Launched* out) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = nul;
  startup.hStdError = nul;
  startup.hStdInput = nul;
  std::wstring path = besideThisProgram(program);
  std::wstring commandLine = L"\"" + path + L"\"";
  double start = nowMs();
  BOOL started = CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                &out->process);
  if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
  if (!started) return false;
  while (nowMs() - start < kShowLimitMs) {
    HWND window = FindWindowW(windowClass, title);
    if (window != nullptr && IsWindowVisible(window)) {
      out->shownAfterMs = nowMs() - start;
      out->window = window;
      return true;
    }
    Sleep(1);
  }
  return false;
}

void endLaunched(Launched& launched) {
  if (launched.window != nullptr) PostMessageW(launched.window, WM_CLOSE, 0, 0);
  if (launched.process.hProcess != nullptr &&
      WaitForSingleObject(launched.process.hProcess, kExitLimitMs) != WAIT_OBJECT_0) {
    TerminateProcess(launched.process.hProcess, 9);
  }
  if (launched.process.hProcess != nullptr) CloseHandle(launched.process.hProcess);
  if (launched.process.hThread != nullptr) CloseHandle(launched.process.hThread);
  launched = Launched();
}

const wchar_t kPanelClass[] = L"zaro";
const wchar_t kPanelTitle[] = L"Tervane VRX 2600 Control";

int measureStartup(int runs) {
  std::vector<double> panel, minimal;
  for (int i = 0; i < runs; ++i) {
    Launched a, b;
    if (!launchUntilShown(L"vrx2600-control.exe", kPanelClass, kPanelTitle, &a)) {
      std::printf("start-up: the control panel's window did not show within %.0f s\n", kShowLimitMs / 1000);
      endLaunched(a);
      return 1;
    }
    panel.push_back(a.shownAfterMs);
    endLaunched(a);
    if (!launchUntilShown(L"minimal_window.exe", L"vrx_bench_minimal", L"Minimal Window", &b)) {
      std::printf("start-up: the minimal window did not show\n");
      endLaunched(b);
      return 1;
    }
    minimal.push_back(b.shownAfterMs);
    endLaunched(b);
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
  CEnumerateSerial::UsingRegistry();   // the program lists its ports the same way
  int index = -1;
  for (std::size_t i = 0; i < PortList.size(); ++i) {
    if (PortList[i] == port) index = static_cast<int>(i);
  }
  BenchPeer peer;
  if (index < 0 || !openBenchPeer(peer, peerPort.c_str())) {
    std::printf("idle: %ls is not listed or its peer cannot be opened\n", port.c_str());
    return 1;
  }
  Launched panel;
  if (!launchUntilShown(L"vrx2600-control.exe", kPanelClass, kPanelTitle, &panel)) {
    std::printf("idle: the control panel's window did not show\n");
    endLaunched(panel);
    return 1;
  }
  PostMessageW(panel.window, WM_COMMAND, MAKEWPARAM(800 + index, 0), 0);
  std::string queries;
  double until = nowMs() + 5000;
  while (queries.size() < 42 && nowMs() < until) {
    queries += readAvailable(peer);
    Sleep(20);
  }
  Sleep(1000);   // past the opening sequence
  readAvailable(peer);
  double cpu0 = cpuMs(panel.process.hProcess), wall0 = nowMs();
  std::printf("IDLE-START\n");
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(seconds * 1000));
  double cpu1 = cpuMs(panel.process.hProcess), wall1 = nowMs();
  std::printf("IDLE-END\n");
  std::fflush(stdout);
  std::string during = readAvailable(peer);
  endLaunched(panel);
  closeBenchPeer(peer);
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
    std::wstring port = portFromEnvironment("VRX_TEST_PORT", L"COM7");
    std::wstring peer = portFromEnvironment("VRX_TEST_PEER", L"COM8");
    return measureIdle(argc > 2 ? std::atof(argv[2]) : 30, port, peer);
  }
  std::fprintf(stderr, "usage: launch_bench startup RUNS | idle SECONDS\n");
  return 2;
}
