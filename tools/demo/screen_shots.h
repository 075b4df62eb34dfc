#pragma once
// The screen as the demo reads it: the pixels of an area (the close box's
// glyph), and whole windows written as pictures.
#include <windows.h>

#include <string>
#include <vector>

// The pixels of a rectangle of the screen (caption and frames included), row
// by row.
std::vector<COLORREF> screenPixels(const RECT& area);

// Writes the screen area of a window, caption and frame included, as a
// 24-bit BMP file; false when it could not be written.
bool saveWindowShot(HWND window, const std::wstring& path);
