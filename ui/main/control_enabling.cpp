#include "ui/main/control_enabling.h"

#include <initializer_list>

#include "protocol/control_state.h"
#include "ui/ids.h"
#include "ui/main/main_window.h"

const RECT hdmiMuteFrame = {424, 151, 481, 207};
const RECT analogMuteFrame = {487, 151, 544, 207};
const RECT muteAllFrame = {424, 213, 544, 269};

namespace {
// The menu items that send something to the unit, in the order they switch.
const UINT deviceMenuItems[] = {
    IDM_OUTPUT_VIDEO_SETTINGS, IDM_VGA_IMAGE_ADJUSTMENTS, IDM_NETWORK_SETTINGS, IDM_RESTORE_DEFAULTS,
    IDM_COPY_EDID,             IDM_BUZZER,                IDM_FIRMWARE_VERSIONS};

void invalidate(const RECT& rect) { InvalidateRect(controlState.mainWindow, &rect, TRUE); }

}  // namespace

void setMainMenuItemChecked(UINT id, bool checked) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE;
  // A state that could not be read is not rebuilt from nothing: that would
  // drop the item's grayed flag along with whatever else it had.
  if (!GetMenuItemInfoW(controlState.mainMenu, id, FALSE, &info)) return;
  info.fState = checked ? (info.fState | MFS_CHECKED) : 0;
  SetMenuItemInfoW(controlState.mainMenu, id, FALSE, &info);
}

void setDeviceControlsEnabled(bool enabled) {
  ControlState& s = controlState;
  for (HWND button : s.videoInputButtons) EnableWindow(button, enabled);
  for (int k = 0; k < kAudioInputCount; ++k) {
    EnableWindow(s.audioInputButtons[k], enabled);
    EnableWindow(s.audioLevelTrackbars[k], enabled);
  }
  for (HWND control : {s.sendEdit, s.sendButton, s.clearButton, s.hdmiVolUpButton, s.hdmiVolDownButton,
                       s.analogVolUpButton, s.analogVolDownButton, s.hdmiMuteButton, s.analogMuteButton,
                       s.muteAllButton})
    EnableWindow(control, enabled);
  for (UINT id : deviceMenuItems)
    EnableMenuItem(s.mainMenu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void toggleOutputPane() {
  MainWindowState& w = mainWindowState;
  w.outputShown = !w.outputShown;
  int width = w.nonClientWidth + CLIENT_WIDTH;
  int height = w.nonClientHeight + (w.outputShown ? CLIENT_HEIGHT_WITH_OUTPUT : CLIENT_HEIGHT_COMPACT);
  SetWindowPos(controlState.mainWindow, HWND_TOP, 0, 0, width, height, SWP_NOMOVE);
  setMainMenuItemChecked(IDM_SHOW_OUTPUT, w.outputShown);
}

RECT audioHighlightRect(int audioInput) {
  int a = audioInput;
  return RECT{7 + 38 * a, 123, a < 9 ? 39 + 38 * a : 64 + 38 * a, 163};
}

RECT videoHighlightRect(int videoInput) {
  if (videoInput == 7) return RECT{331, 27, 406, 97};   // the tall "Display\nPort"
  int slot = videoInput < 7 ? videoInput : videoInput - 1;
  int column = slot / 2;
  int row = slot % 2;
  return RECT{7 + 81 * column, 27 + 38 * row, 82 + 81 * column, 59 + 38 * row};
}

void invalidateSelectionHighlights() {
  const ControlState& s = controlState;
  if (s.previousAudioInput != -1) invalidate(audioHighlightRect(s.previousAudioInput));
  if (s.audioInput != -1) invalidate(audioHighlightRect(s.audioInput));
  // The mute frames are repainted whatever is known of the inputs: a mute
  // reply may come before any input reply.
  invalidate(analogMuteFrame);
  invalidate(hdmiMuteFrame);
  invalidate(muteAllFrame);
  if (s.previousVideoInput != -1) invalidate(videoHighlightRect(s.previousVideoInput));
  if (s.videoInput != -1) invalidate(videoHighlightRect(s.videoInput));
  UpdateWindow(s.mainWindow);
}
