#include "tools/demo/close_glyph.h"

#include <cstdio>
#include <vector>

#include "tools/demo/screen_shots.h"

bool closeBoxShowsGlyph(HWND window, std::string& what) {
  RECT windowRect;
  GetWindowRect(window, &windowRect);
  // The caption band: the top frame and the caption, the buttons' ink drawn
  // in the button text colour on their face.
  RECT band{windowRect.left, windowRect.top, windowRect.right,
            windowRect.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) + 2};
  int width = band.right - band.left;
  int height = band.bottom - band.top;
  std::vector<COLORREF> pixels = screenPixels(band);
  COLORREF inkColour = GetSysColor(COLOR_BTNTEXT);
  auto ink = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < width && y < height && pixels[static_cast<size_t>(y * width + x)] == inkColour;
  };
  auto columnInked = [&](int x) {
    for (int y = 0; y < height; ++y)
      if (ink(x, y)) return true;
    return false;
  };

  // The right-most run of inked columns is the close box's ink; a gap of
  // three clean columns separates it from the button beside it.
  int right = width - 1;
  while (right >= 0 && !columnInked(right)) --right;
  if (right < 0) {
    what = "no ink in the caption's buttons";
    return false;
  }
  int left = right;
  for (int gap = 0; left > 0 && gap < 3;) {
    --left;
    gap = columnInked(left) ? 0 : gap + 1;
  }
  while (!columnInked(left)) ++left;
  int top = height, bottom = -1, inked = 0;
  for (int y = 0; y < height; ++y)
    for (int x = left; x <= right; ++x)
      if (ink(x, y)) {
        top = y < top ? y : top;
        bottom = y > bottom ? y : bottom;
        ++inked;
      }

  // The X's mirror images fall on its own ink.
  int mirroredSideways = 0, mirroredUpDown = 0;
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x)
      if (ink(x, y)) {
        if (ink(left + right - x, y)) ++mirroredSideways;
        if (ink(x, top + bottom - y)) ++mirroredUpDown;
      }
  int centreX = (left + right) / 2, centreY = (top + bottom) / 2;
  bool centreInked = ink(centreX, centreY) || ink(left + right - centreX, top + bottom - centreY);
  bool symmetric = mirroredSideways * 10 >= inked * 9 && mirroredUpDown * 10 >= inked * 9;
  bool bigEnough = right - left >= 4 && bottom - top >= 4;

  char text[200];
  std::snprintf(text, sizeof text, "%dx%d ink of %d pixels, %d mirrored sideways, %d up-down, centre %s",
                right - left + 1, bottom - top + 1, inked, mirroredSideways, mirroredUpDown,
                centreInked ? "inked" : "clear");
  what = text;
  return symmetric && centreInked && bigEnough;
}
