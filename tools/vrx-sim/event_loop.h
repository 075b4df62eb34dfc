#pragma once
// The unit's one thread: polls the pty, the TCP side and the stop pipe, and
// wakes up for the earliest timer (a reply due, noise, a reopen check, a
// hang-up or come-back, the switch-on).
struct Sim;

// Runs until a stop signal (0) or a failure that ends the unit (1).
int runLoop(Sim& sim);
