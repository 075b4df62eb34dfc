#pragma once
#include <windows.h>

constexpr int CLIENT_WIDTH = 551;
constexpr int CLIENT_HEIGHT_COMPACT = 278;
constexpr int CLIENT_HEIGHT_WITH_OUTPUT = 517;

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

// Invalidates the frames of the previous and current inputs and the three
// mute frames, then updates the main window at once.
void invalidateSelectionHighlights();

// Frames one pixel outside the buttons they surround (right/bottom exclusive).
RECT audioHighlightRect(int audioInput);
RECT videoHighlightRect(int videoInput);
extern const RECT hdmiMuteFrame;
extern const RECT analogMuteFrame;
extern const RECT muteAllFrame;
