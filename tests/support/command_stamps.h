#pragma once
// When each command was handed to the link, stamped on the UI thread itself
// as it goes: the pauses of the query sequences measured where they are made,
// with none of a reader's lateness.
#include <vector>

// From now on every command of the in-process panel goes to the selected link
// and its echo as ever, each stamped first; earlier stamps are forgotten.
void stampCommandsOnTheirWay();

// The stamps (milliseconds of nowMs) in the order the commands went.
const std::vector<double>& commandStamps();

// The shortest time between two commands in a row; -1 with fewer than two.
double shortestGapBetweenCommands();
