#pragma once
// Waiting on the UI thread: the thread keeps handling its messages (sent ones
// too) while a condition is awaited, as the program's own loop would.
#include <functional>

// Handles every pending message of this thread.
void pumpMessages();

// Pumps messages until done() holds or timeoutMs has passed; returns done().
bool waitFor(const std::function<bool()>& done, double timeoutMs = 5000);

// Pumps messages for about ms milliseconds.
void pumpFor(double ms);
