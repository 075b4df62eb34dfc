#include "ui/main/control_enabling.h"

#include <initializer_list>

#include "protocol/control_state.h"
#include "ui/ids.h"
#include "ui/main/main_window.h"

namespace {
// The menu items that send something to the unit, in the order they switch.
const UINT deviceMenuItems[] = {
    IDM_OUTPUT_VIDEO_SETTINGS, IDM_VGA_IMAGE_ADJUSTMENTS, IDM_NETWORK_SETTINGS, IDM_RESTORE_DEFAULTS,
    IDM_COPY_EDID,             IDM_BUZZER,                IDM_FIRMWARE_VERSIONS};

void invalidate(const RECT& rect) { InvalidateRect(mainWindowState.mainWindow, &rect, TRUE); }

// The mute buttons by output: 0 HDMI, 1 analog, 2 all.
const int kMuteButtonIds[] = {IDC_HDMI_MUTE, IDC_ANALOG_MUTE, IDC_MUTE_ALL};
}  // namespace

void setMainMenuItemChecked(UINT id, bool checked) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE;
  // A state that could not be read is not rebuilt from nothing: that would
  // drop the item's grayed flag along with whatever else it had.
  if (!GetMenuItemInfoW(mainWindowState.mainMenu, id, FALSE, &info)) return;
  info.fState = checked ? (info.fState | MFS_CHECKED) : 0;
  SetMenuItemInfoW(mainWindowState.mainMenu, id, FALSE, &info);
}

void setDeviceControlsEnabled(bool enabled) {
  MainWindowState& s = mainWindowState;
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
  SetWindowPos(mainWindowState.mainWindow, HWND_TOP, 0, 0, width, height, SWP_NOMOVE);
  setMainMenuItemChecked(IDM_SHOW_OUTPUT, w.outputShown);
}

RECT audioHighlightRect(int audioInput) { return frameRoundControl(IDC_AUDIO_INPUT_BASE + 4 * audioInput); }

RECT videoHighlightRect(int videoInput) { return frameRoundControl(IDC_VIDEO_INPUT_BASE + 4 * videoInput); }

RECT muteFrame(int which) { return frameRoundControl(kMuteButtonIds[which]); }

void repaintMuteFrame(int which) {
  if (mainWindowState.mainWindow == nullptr) return;
  invalidate(muteFrame(which));
  UpdateWindow(mainWindowState.mainWindow);
}

void invalidateSelectionHighlights(const FramedInputs& framedBefore) {
  const ControlState& s = controlState;
  if (framedBefore.audioInput != -1) invalidate(audioHighlightRect(framedBefore.audioInput));
  if (framedBefore.videoInput != -1) invalidate(videoHighlightRect(framedBefore.videoInput));
  if (s.previousAudioInput != -1) invalidate(audioHighlightRect(s.previousAudioInput));
  if (s.audioInput != -1) invalidate(audioHighlightRect(s.audioInput));
  // The mute frames are repainted whatever is known of the inputs: a mute
  // reply may come before any input reply.
  for (int which : {1, 0, 2}) invalidate(muteFrame(which));
  if (s.previousVideoInput != -1) invalidate(videoHighlightRect(s.previousVideoInput));
  if (s.videoInput != -1) invalidate(videoHighlightRect(s.videoInput));
  UpdateWindow(mainWindowState.mainWindow);
}
