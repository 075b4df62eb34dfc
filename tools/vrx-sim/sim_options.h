#pragma once
// Command line of vrx-sim.
#include <cstddef>
#include <string>
#include <vector>

struct SimOptions {
  std::string linkPath;           // symlink made to the pty's slave
  int replyDelayMs = 0;           // wait before a reply starts
  size_t chunkBytes = 0;          // 0: a reply goes out in one write
  int chunkPauseMs = 0;           // pause between two chunks of a reply
  std::string transcriptPath;     // empty: no transcript
  bool silent = false;            // apply commands, answer nothing
  int onAfterMs = 0;              // off (the line dead both ways) this long after start
  std::string leftover;           // bytes waiting on the line before anyone opens it
  bool garbage = false;           // send line noise continuously
  int garbageRate = 200;          // bytes per second of line noise
  unsigned seed = 1;
  int hangupAfter = 0;            // close the pty after this many commands; 0: never
  int comebackAfterMs = -1;       // re-create the pty this long after a hang-up; -1: never
  bool tcp = false;
  int tcpPort = 1024;
  size_t commandCap = 256;        // longest command taken, terminator included
  bool verbose = false;           // log every command and reply to stderr
  bool help = false;
};

// Fills options from argv; on a bad command line returns false and says why.
bool parseSimOptions(const std::vector<std::string>& args, SimOptions& options,
                     std::string& error);

std::string simUsage();

// The most bytes --leftover takes: about what a serial driver or adapter
// holds, and well under what a pty takes with nobody reading (13 KB measured).
constexpr size_t kMaxLeftoverBytes = 4096;
