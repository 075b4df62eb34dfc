#pragma once
// The garbage fault's clock: line noise made at the chosen average rate, a
// little every tick, and handed to the line output. Its backlog is bounded,
// so a line nobody reads does not make the unit grow.
#include <chrono>
#include <random>

struct Sim;

struct LineNoise {
  double credit = 0;  // bytes owed at the chosen rate
  std::chrono::steady_clock::time_point nextTick;
  std::mt19937 random;
};

void makeNoise(Sim& sim);
