#pragma once
// What the program writes to standard output while an action runs.
#include <functional>
#include <string>

// Runs action with this process's standard output sent to a file, and returns
// the bytes written meanwhile.
std::string captureStdout(const std::function<void()>& action);
