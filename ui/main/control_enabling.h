#pragma once
#include <windows.h>

#include "ui/main/main_window_layout.h"

// Enables or greys, as one set, every control and menu item that sends
// something to the unit.
void setDeviceControlsEnabled(bool enabled);

// "Show Output": grows the window to show the pane and the Send row, or
// shrinks it again, without moving it; checks or unchecks item 1020.
void toggleOutputPane();

// A main-menu item by command id: checked adds MFS_CHECKED to its state;
// unchecked sets the whole state to 0 (no check mark, not grayed). Nothing is
// written when the item's state cannot be read.
void setMainMenuItemChecked(UINT id, bool checked);

// The inputs whose green frames the main window shows (-1: none).
struct FramedInputs {
  int audioInput;
  int videoInput;
};

// Invalidates the frames of the inputs framed before (a received text can
// change an input more than once), of the previous and current inputs and the
// three mute frames, then updates the main window at once.
void invalidateSelectionHighlights(const FramedInputs& framedBefore);

// Repaints at once the frame of one output's mute button (0 HDMI, 1 analog,
// 2 all), so that it shows the last reported state while the unit takes a
// mute command.
void repaintMuteFrame(int which);

// The frames one pixel outside the buttons they surround (right and bottom
// exclusive): the green ones of the selected inputs, the red ones of the
// muted outputs (0 HDMI, 1 analog, 2 all).
RECT audioHighlightRect(int audioInput);
RECT videoHighlightRect(int videoInput);
RECT muteFrame(int which);
