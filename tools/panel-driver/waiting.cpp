#include "tools/panel-driver/waiting.h"

#include <windows.h>

#include "tools/panel-driver/timing.h"

namespace {
// The longest sleep between two looks at the condition.
constexpr double kLookEveryMs = 5;
}  // namespace

void pumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool waitFor(const std::function<bool()>& done, double timeoutMs) {
  double end = nowMs() + timeoutMs;
  for (;;) {
    pumpMessages();
    if (done()) return true;
    double left = end - nowMs();
    if (left <= 0) return done();
    // Wakes early for any message, so a sent one is handled at once.
    DWORD sleep = static_cast<DWORD>(left < kLookEveryMs ? left + 1 : kLookEveryMs);
    MsgWaitForMultipleObjectsEx(0, nullptr, sleep, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void pumpFor(double ms) {
  waitFor([] { return false; }, ms);
}
