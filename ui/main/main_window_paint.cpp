// The main window's painted parts: grey ground, red frames round muted
// outputs, green frames round the selected inputs, captions and separator.
#include <windows.h>
#include <strsafe.h>

#include "protocol/control_state.h"
#include "ui/main/control_enabling.h"
#include "ui/main/main_window.h"
#include "ui/main/main_window_parts.h"

namespace {
constexpr int kCaptionUnits = 128;

// Filled with the ground brush; the children are clipped out, so only the
// one-pixel outline shows round each button.
void drawFrame(HDC dc, const RECT& frame) { Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom); }

void drawMuteFrames(HDC dc) {
  const int muted[] = {controlState.hdmiAudioMuted, controlState.analogAudioMuted, controlState.allAudioMuted};
  for (int which = 0; which < 3; ++which)
    if (muted[which] == 1) drawFrame(dc, muteFrame(which));
}

void drawSelectionFrames(HDC dc) {
  if (controlState.audioInput != -1) drawFrame(dc, audioHighlightRect(controlState.audioInput));
  if (controlState.videoInput != -1) drawFrame(dc, videoHighlightRect(controlState.videoInput));
}

void drawCaptions(HDC dc) {
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, kPanelGrey);
  for (const PaintedCaption& caption : kPaintedCaptions) {
    wchar_t text[kCaptionUnits] = {};
    StringCchPrintfW(text, kCaptionUnits, L"%ls", caption.text);
    size_t length = 0;
    StringCchLengthW(text, kCaptionUnits, &length);
    TextOutW(dc, caption.x, caption.y, text, static_cast<int>(length));
  }
}
}  // namespace

void paintMainWindow(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  HPEN greyPen = CreatePen(PS_SOLID, 1, kPanelGrey);
  HBRUSH greyBrush = CreateSolidBrush(kPanelGrey);
  HPEN redPen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HPEN greenPen = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
  HPEN blackPen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));

  HGDIOBJ oldPen = SelectObject(dc, greyPen);
  HGDIOBJ oldBrush = SelectObject(dc, greyBrush);
  HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
  Rectangle(dc, 0, 0, CLIENT_WIDTH, CLIENT_HEIGHT_WITH_OUTPUT);

  SelectObject(dc, redPen);
  drawMuteFrames(dc);
  SelectObject(dc, greenPen);
  drawSelectionFrames(dc);

  SelectObject(dc, mainWindowState.uiFont);
  drawCaptions(dc);

  SelectObject(dc, blackPen);
  MoveToEx(dc, kPaintedSeparator.x, kPaintedSeparator.top, nullptr);
  LineTo(dc, kPaintedSeparator.x, kPaintedSeparator.bottom);

  SelectObject(dc, oldFont);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(greyPen);
  DeleteObject(greyBrush);
  DeleteObject(redPen);
  DeleteObject(greenPen);
  DeleteObject(blackPen);
  EndPaint(window, &paint);
}
