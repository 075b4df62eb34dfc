#pragma once
#include "tools/bench/bench_timing.h"

void pumpWaiting(DWORD ms);

template <typename Done>
bool pumpUntil(Done done, double ms) {
  double end = nowMs() + ms;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    double left = end - nowMs();
    if (left <= 0) return done();
    pumpWaiting(left < 5 ? static_cast<DWORD>(left) + 1 : 5);
  }
}
