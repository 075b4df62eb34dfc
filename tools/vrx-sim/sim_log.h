#pragma once
// What the unit tells its operator (standard error) and its transcript, in
// one place so the two say the same.
#include <string>

struct Sim;

void logMessage(const std::string& text);
// A line event (opened, closed, hung up): stderr and the transcript.
void logEvent(Sim& sim, const std::string& text);
// Input the unit refused: stderr and the transcript.
void logRejected(Sim& sim, const std::string& text);
// Bytes that crossed a line: the transcript, and stderr with --verbose.
void logTraffic(Sim& sim, const char* kind, const std::string& bytes);
