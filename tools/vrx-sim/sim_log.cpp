#include "sim_log.h"

#include <cstdio>

#include "byte_escape.h"
#include "sim.h"

void logMessage(const std::string& text) { std::fprintf(stderr, "vrx-sim: %s\n", text.c_str()); }

void logEvent(Sim& sim, const std::string& text) {
  logMessage(text);
  writeTranscriptNote(sim.transcript, "event", text);
}

void logRejected(Sim& sim, const std::string& text) {
  logMessage("rejected: " + text);
  writeTranscriptNote(sim.transcript, "rejected", text);
}

void logTraffic(Sim& sim, const char* kind, const std::string& bytes) {
  writeTranscriptBytes(sim.transcript, kind, bytes);
  if (sim.options.verbose) logMessage(std::string(kind) + " " + escapeBytes(bytes));
}
