#pragma once
// The program's message boxes are modal and wait for an operator. A run of
// the benchmarks has none, so a thread reads each box of this process, keeps
// its caption and text, and presses OK.
#include <string>
#include <vector>

void startBoxWatch();
void stopBoxWatch();
// "Caption: text" of every box dismissed so far.
std::vector<std::wstring> dismissedBoxes();
