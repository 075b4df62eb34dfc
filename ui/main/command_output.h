#pragma once
// Where the commands go: the link that linkMode selects, and the output pane
// for their echo. The main window hands this to the command set when it is
// built.

// Puts a text on the selected link with the given transmit count; the link's
// result is not looked at.
void transmitOnSelectedLink(const wchar_t* text, int size);

// Has every command of the command set go to the selected link and echo into
// the output pane.
void routeCommandsToTheLink();
