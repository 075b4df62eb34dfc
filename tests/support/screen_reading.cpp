#include "tests/support/screen_reading.h"

#include <cstdint>

namespace {
constexpr int kLineHeight = 32;   // taller than any line of the interface font

// A top-down 32-bit picture of width x height pixels.
struct Picture {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  std::uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;

  Picture(int w, int h) : width(w), height(h) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc = CreateCompatibleDC(nullptr);
    void* pixels = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    bits = static_cast<std::uint32_t*>(pixels);
    old = SelectObject(dc, bitmap);
  }
  ~Picture() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
  std::uint32_t at(int x, int y) const { return bits[y * width + x] & 0xFFFFFFu; }
};

// The one way every reading here sees a window: its client area once
// pending paints are done.
void copyClient(HWND window, const RECT& area, Picture& into) {
  UpdateWindow(window);
  GdiFlush();
  HDC dc = GetDC(window);
  BitBlt(into.dc, 0, 0, into.width, into.height, dc, area.left, area.top, SRCCOPY);
  ReleaseDC(window, dc);
  GdiFlush();
}

// Pixel value of a colour in a 32-bit DIB (blue in the low byte).
std::uint32_t dibColour(COLORREF colour) {
  return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

COLORREF colourOf(std::uint32_t pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

// Made as the program makes its interface font.
HFONT interfaceFont() {
  return CreateFontW(16, 6, 0, 0, 600, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
}
}  // namespace

COLORREF clientPixel(HWND window, int x, int y) {
  Picture pixel(1, 1);
  copyClient(window, RECT{x, y, x + 1, y + 1}, pixel);
  return colourOf(pixel.at(0, 0));
}

int differingLinePixels(HWND window, int x, int y, const std::wstring& text, int right) {
  RECT client{};
  GetClientRect(window, &client);
  if (right < 0) right = client.right;
  Picture expected(right - x, kLineHeight);
  RECT all{0, 0, expected.width, expected.height};
  FillRect(expected.dc, &all, GetSysColorBrush(COLOR_MENU));
  HFONT font = interfaceFont();
  HGDIOBJ oldFont = SelectObject(expected.dc, font);
  SetTextColor(expected.dc, RGB(0, 0, 0));
  SetBkColor(expected.dc, RGB(0xEE, 0xEE, 0xEE));
  TextOutW(expected.dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
  SIZE extent{};
  GetTextExtentPoint32W(expected.dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(expected.dc, oldFont);
  DeleteObject(font);
  GdiFlush();

  // The line's own cells and whatever stands right of them up to the edge.
  Picture actual(expected.width, extent.cy);
  copyClient(window, RECT{x, y, right, y + extent.cy}, actual);
  int count = 0;
  for (int row = 0; row < extent.cy; ++row) {
    for (int column = 0; column < expected.width; ++column) {
      if (expected.at(column, row) != actual.at(column, row)) ++count;
    }
  }
  return count;
}

bool showsOnlyBackground(HWND window, const RECT& area) {
  Picture actual(area.right - area.left, area.bottom - area.top);
  copyClient(window, area, actual);
  std::uint32_t menu = dibColour(GetSysColor(COLOR_MENU));
  for (int row = 0; row < actual.height; ++row) {
    for (int column = 0; column < actual.width; ++column) {
      if (actual.at(column, row) != menu) return false;
    }
  }
  return true;
}

