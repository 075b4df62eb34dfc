#pragma once
// The hang-up fault: after the reply to the Nth command the unit closes its
// pty, as a cable pulled from the unit's end does, and with a come-back time
// opens a new one at the same link, as the cable plugged back.
#include <chrono>

struct Sim;

struct HangupFault {
  bool down = false;             // hung up; no pty until the come-back
  std::chrono::steady_clock::time_point comebackAt;
  int commandsOnThisPty = 0;
  bool pending = false;          // the Nth command came; its reply still goes out
  bool scheduled = false;        // the last reply is out; waiting out the grace
  std::chrono::steady_clock::time_point hangupAt;
};

// Counts a command taken on the pty towards the hang-up.
void countCommandTowardsHangup(Sim& sim);
// The next hang-up or come-back, if one is due: the loop wakes up for it.
bool hangupWaiting(const Sim& sim, std::chrono::steady_clock::time_point& when);
// Hangs up or comes back when it is time; false when the pty cannot be
// brought back.
bool runHangupFault(Sim& sim);
