#pragma once
// What the unit does with each command from the serial line: applies it and
// answers (or, as a fault, keeps the answer), and counts it towards a
// hang-up. Input that comes while it hangs up goes nowhere.
#include <vector>

#include "command_splitter.h"

struct Sim;

void handleSerialEvents(Sim& sim, const std::vector<SplitEvent>& events);
