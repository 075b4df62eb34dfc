#pragma once
// What a window shows, read back from its client area the way the program
// painted it: one pixel, a line of text drawn in the program's interface font,
// a stretch of bare background.
#include <windows.h>

#include <string>
#include <vector>

// The colour of a client pixel once pending paints are done.
COLORREF clientPixel(HWND window, int x, int y);

// The pixels by which the client area at (x, y) differs from text drawn in
// the program's interface font (Tahoma 16/6, weight 600) in black on the
// light grey text box, as a rendering in a memory DC shows it, followed by
// nothing but the menu-coloured background up to the column right (-1: the
// client's edge). showsLine: none differ.
int differingLinePixels(HWND window, int x, int y, const std::wstring& text, int right = -1);
inline bool showsLine(HWND window, int x, int y, const std::wstring& text, int right = -1) {
  return differingLinePixels(window, x, y, text, right) == 0;
}

// True when the rectangle of the client area shows only the settings
// windows' menu-coloured background.
bool showsOnlyBackground(HWND window, const RECT& area);
