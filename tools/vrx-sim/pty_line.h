#pragma once
// The serial line as the unit sees it: the pty brought up behind the link,
// its bytes read and cut into commands, and the other end's closes and
// reopens, which a pty master only learns by asking.
#include <chrono>

struct Sim;

// Opens a pty and points the link at it; false (and said why) when it cannot.
bool bringUpPty(Sim& sim);
// Reads what poll reported and hands each command on; notices a close.
void readPty(Sim& sim, short revents);
// While nobody holds the line: whether a program has opened it again.
void checkReopened(Sim& sim);
// The next reopen check, if the line is closed: the loop wakes up for it.
bool reopenCheckWaiting(const Sim& sim, std::chrono::steady_clock::time_point& when);
