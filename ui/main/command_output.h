#pragma once
// Where the commands go: the link that linkMode selects, and the output pane
// for their echo. The main window hands this to the command set when it is
// built.
#include "protocol/command_set.h"

// Puts a text on the selected link with the given transmit count.
Transmitted transmitOnSelectedLink(const wchar_t* text, int size);

// The System line that stands in the pane instead of the echo of a text that
// did not go out (the text without its line end), and why: no port was open,
// or its write failed.
void reportNotSent(const wchar_t* text, Transmitted why);

// Has every command of the command set go to the selected link and echo into
// the output pane.
void routeCommandsToTheLink();
