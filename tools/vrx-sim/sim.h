#pragma once
// The running unit: everything the loop's parts share, in one record that
// main() owns, so each part is a set of functions over it and nothing is
// global but the signal pipe.
#include <chrono>

#include "command_splitter.h"
#include "hangup_fault.h"
#include "line_noise.h"
#include "line_output.h"
#include "power_switch.h"
#include "pty_port.h"
#include "sim_core.h"
#include "sim_options.h"
#include "tcp_listener.h"
#include "transcript.h"

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::milliseconds;

struct Sim {
  SimOptions options;
  SimState state = factorySimState();
  Transcript transcript;
  PtyPort pty;
  CommandSplitter splitter;
  // False while no program holds the slave open. True at start: a pty master
  // shows no hang-up before its slave's first open, only after a close.
  bool lineOpen = true;
  Clock::time_point reopenCheckAt;
  bool leftoverWritten = false;  // --leftover goes out once, on the first pty
  LineOutput out;
  LineNoise noise;
  HangupFault hangup;
  PowerSwitch power;
  TcpSide tcp;
};
