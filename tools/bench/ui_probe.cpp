#include "tools/bench/ui_probe.h"

#include "tools/panel-driver/timing.h"
#include "tools/panel-driver/waiting.h"

namespace {
constexpr DWORD kProbeEveryMs = 10;
constexpr UINT kProbeLimitMs = 5000;

void probeLoop(UiProbe* probe) {
  while (!probe->stop) {
    double start = nowMs();
    DWORD_PTR ignored = 0;
    LRESULT answered = SendMessageTimeoutW(probe->window, WM_NULL, 0, 0, SMTO_NORMAL, kProbeLimitMs, &ignored);
    double waited = nowMs() - start;
    if (answered == 0) ++probe->unanswered;
    if (waited > probe->longestMs) probe->longestMs = waited;
    ++probe->probes;
    Sleep(kProbeEveryMs);
  }
  probe->ended = true;
}
}  // namespace

void startUiProbe(UiProbe& probe, HWND window) {
  probe.window = window;
  probe.stop = false;
  probe.ended = false;
  resetUiProbe(probe);
  probe.thread = std::thread(probeLoop, &probe);
}

void stopUiProbe(UiProbe& probe) {
  probe.stop = true;
  // A probe may be waiting for this very thread.
  waitFor([&] { return probe.ended.load(); }, 10000);
  if (probe.thread.joinable()) probe.thread.join();
}

void resetUiProbe(UiProbe& probe) {
  probe.longestMs = 0;
  probe.probes = 0;
  probe.unanswered = 0;
}
