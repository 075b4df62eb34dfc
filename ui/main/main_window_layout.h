#pragma once
// Where everything of the main window stands, in client pixels: its controls,
// its painted captions and its separator. The frames round the buttons are
// derived from the buttons' own rectangles here, so moving a button moves its
// frame.
#include <windows.h>

constexpr int CLIENT_WIDTH = 551;
constexpr int CLIENT_HEIGHT_COMPACT = 278;       // the pane and the Send row hidden
constexpr int CLIENT_HEIGHT_WITH_OUTPUT = 517;   // both shown

// Creates the panel above the console: input buttons, level trackbars, output
// buttons, in their order of creation.
void createPanelControls(HWND window);
// Creates the console pane and the Send row below the compact window.
void createOutputControls(HWND window);

// The rectangle of a main-window control by its id (right and bottom
// exclusive); empty when no control has that id.
RECT controlRectOfId(int id);

// The frame round a button: its rectangle grown by one pixel on every side.
RECT frameRoundControl(int id);

struct PaintedCaption {
  int x, y;
  const wchar_t* text;
};
extern const PaintedCaption kPaintedCaptions[3];

// The black line between the inputs and the outputs; its bottom end is not drawn.
struct PaintedSeparator {
  int x, top, bottom;
};
extern const PaintedSeparator kPaintedSeparator;
