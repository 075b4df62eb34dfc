#pragma once
// The reply parser as the main window calls it for WM_RX_TEXT: parses, moves
// the settings controls, renames the buzzer item, repaints, echoes "Rx>".

// Returns 1 (and does nothing) when count is 0, else 0.
int parseReceivedText(const wchar_t* text, unsigned count);
