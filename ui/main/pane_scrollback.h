#pragma once
// The output pane's bounded scroll-back (sizes in console_pane.h).
#include <windows.h>

#include <cstddef>

// Before incoming units go in: when the pane would then hold more than
// ConsolePane::kMostUnits, its oldest lines go in one step, so that the
// newest ConsolePane::kKeepUnits or more remain, starting at a line's start.
// A line too long for that loses its beginning instead.
void makeRoomInPane(HWND pane, std::size_t incoming);
