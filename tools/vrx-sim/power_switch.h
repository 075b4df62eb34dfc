#pragma once
// A unit switched on late: for the chosen time after start it is off. The
// bytes the panel sends go nowhere (the transcript shows them "ignored"),
// nothing is answered and no noise made; then it works as usual. The panel
// meets a unit that does not answer, then one that does. The TCP side, a
// back door for tests, stays on.
#include <chrono>

struct Sim;

struct PowerSwitch {
  bool off = false;
  std::chrono::steady_clock::time_point onAt;
};

// At start: off until the options' time has passed, if one was given.
void startSwitchedOff(Sim& sim);
// The switch-on, if still to come: the loop wakes up for it.
bool switchOnWaiting(const Sim& sim, std::chrono::steady_clock::time_point& when);
void switchOnWhenDue(Sim& sim);
