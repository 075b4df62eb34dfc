#pragma once
// What the main window does with a burst the serial reader delivers
// (WM_RX_TEXT): parse it into ControlState, show what changed, echo it "Rx>".

// Returns 1 (and does nothing) when count is 0, else 0. A line that the text
// ends without its line end is read together with the next text.
int parseReceivedText(const wchar_t* text, unsigned count);

// A new connection starts with no line left over from the one before.
void forgetPartialReply();
