#include "line_output.h"

#include <algorithm>
#include <unistd.h>

#include "sim.h"
#include "sim_log.h"

namespace {

// Bound on what piles up when nobody reads the line.
constexpr size_t kMaxQueuedBytes = 64 * 1024;

bool replyDue(const Sim& sim, Clock::time_point now) {
  return !sim.out.chunks.empty() && sim.out.chunks.front().due <= now;
}

// Writes what it can; returns false when the pty takes no more for now.
bool writeBytes(Sim& sim, std::string& bytes, const char* kind) {
  ssize_t written = write(sim.pty.master, bytes.data(), bytes.size());
  if (written <= 0) return false;
  logTraffic(sim, kind, bytes.substr(0, size_t(written)));
  bytes.erase(0, size_t(written));
  return true;
}

}  // namespace

void queueReply(Sim& sim, const std::string& bytes) {
  LineOutput& out = sim.out;
  Clock::time_point start = std::max(Clock::now() + Ms(sim.options.replyDelayMs), out.replyFree);
  size_t step = sim.options.chunkBytes ? sim.options.chunkBytes : bytes.size();
  Clock::time_point due = start;
  for (size_t at = 0; at < bytes.size(); at += step) {
    std::string piece = bytes.substr(at, step);
    if (out.chunkBytes + piece.size() > kMaxQueuedBytes) {
      logRejected(sim, "reply dropped, " + std::to_string(out.chunkBytes) +
                           " bytes already waiting for the line");
      return;
    }
    if (at > 0) due += Ms(sim.options.chunkPauseMs);
    out.chunks.push_back({piece, due});
    out.chunkBytes += piece.size();
  }
  out.replyFree = due;
}

bool wantsToWrite(const Sim& sim) {
  return replyDue(sim, Clock::now()) || (!sim.out.noise.empty() && !sim.out.frontStarted);
}

bool replyWaiting(const Sim& sim, Clock::time_point& due) {
  if (sim.out.chunks.empty()) return false;
  due = sim.out.chunks.front().due;
  return true;
}

void writeDueOutput(Sim& sim) {
  LineOutput& out = sim.out;
  if (sim.hangup.down || !sim.lineOpen) return;
  // Noise goes between reply chunks, never into the middle of one.
  if (!out.noise.empty() && !out.frontStarted && !writeBytes(sim, out.noise, "noise")) return;
  while (replyDue(sim, Clock::now())) {
    OutChunk& front = out.chunks.front();
    size_t before = front.bytes.size();
    bool progressed = writeBytes(sim, front.bytes, "tx");
    out.chunkBytes -= before - front.bytes.size();
    if (!front.bytes.empty()) {
      out.frontStarted = out.frontStarted || progressed;
      return;
    }
    out.chunks.pop_front();
    out.frontStarted = false;
  }
}

void dropOutput(Sim& sim, const char* why) {
  LineOutput& out = sim.out;
  size_t dropped = out.chunkBytes + out.noise.size();
  if (dropped) writeTranscriptNote(sim.transcript, "event",
                                   "dropped " + std::to_string(dropped) + " bytes, " + why);
  out.chunks.clear();
  out.chunkBytes = 0;
  out.frontStarted = false;
  out.noise.clear();
}
