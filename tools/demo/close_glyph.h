#pragma once
// Whether a window's close box shows the close glyph (an X drawn from Wine's
// or Windows' Marlett font) rather than the plain letter that stands in for it
// when the prefix has no Marlett.
#include <windows.h>

#include <string>

// Reads the screen at the right end of the window's caption. True when the
// ink of the right-most caption button is an X: symmetric left to right and
// top to bottom, and inked at its centre. The letter "r" is none of these.
// what receives a short description of the ink found, for the demo's report.
bool closeBoxShowsGlyph(HWND window, std::string& what);
