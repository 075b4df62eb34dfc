#pragma once
// What the unit writes to the pty: replies in the order they were asked for,
// each after the reply delay and cut into chunks if asked, with line noise
// only between chunks. What waits is bounded; the rest is dropped and said.
#include <chrono>
#include <cstddef>
#include <deque>
#include <string>

struct Sim;

struct OutChunk {
  std::string bytes;
  std::chrono::steady_clock::time_point due;
};

struct LineOutput {
  std::deque<OutChunk> chunks;
  size_t chunkBytes = 0;       // bytes waiting in chunks
  bool frontStarted = false;   // the first chunk went out in part
  std::chrono::steady_clock::time_point replyFree;  // a new reply starts no earlier
  std::string noise;           // line noise waiting to go out
};

void queueReply(Sim& sim, const std::string& bytes);
// True when something can be written now: poll then asks for POLLOUT.
bool wantsToWrite(const Sim& sim);
// A reply waiting for its time, if any: the loop wakes up for it.
bool replyWaiting(const Sim& sim, std::chrono::steady_clock::time_point& due);
void writeDueOutput(Sim& sim);
// Forgets everything not yet written, as when the line drops.
void dropOutput(Sim& sim, const char* why);
