#pragma once
// SIGTERM and SIGINT end the unit cleanly (its link removed) instead of
// killing it: the handler only writes to a pipe the loop polls.

// Installs the handlers; false when the pipe cannot be made.
bool installStopSignals();
// The pipe's read end; readable once a stop was asked for.
int stopSignalFd();
