// What a click or a menu choice in the main window does.
#include <windows.h>

#include "protocol/command_set.h"
#include "protocol/control_state.h"
#include "ui/ids.h"
#include "ui/main/console_pane.h"
#include "ui/main/control_enabling.h"
#include "ui/main/main_window.h"
#include "ui/main/main_window_parts.h"
#include "ui/main/unit_state.h"
#include "ui/settings/network_settings.h"
#include "ui/settings/output_video_settings.h"
#include "ui/settings/vga_image_adjustments.h"

namespace {
// The frame of the output shows the last reported state; it is repainted
// before the command so that it is current while the unit takes it.
void toggleMute(int which) {
  repaintMuteFrame(which);
  toggleOutputMute(which);
}

struct CommandAction {
  int id;
  void (*action)();
};

const CommandAction kCommandActions[] = {
    {IDC_HDMI_VOL_UP, [] { stepOutputVolume(false, true); }},
    {IDC_HDMI_VOL_DOWN, [] { stepOutputVolume(false, false); }},
    {IDC_HDMI_MUTE, [] { toggleMute(0); }},
    {IDC_ANALOG_VOL_UP, [] { stepOutputVolume(true, true); }},
    {IDC_ANALOG_VOL_DOWN, [] { stepOutputVolume(true, false); }},
    {IDC_ANALOG_MUTE, [] { toggleMute(1); }},
    {IDC_MUTE_ALL, [] { toggleMute(2); }},
    {IDC_CLEAR, [] { ConsolePane::clear(); }},
    {IDM_SHOW_OUTPUT, [] { toggleOutputPane(); }},
    {IDM_OUTPUT_VIDEO_SETTINGS, [] { openOutputVideoSettings(); }},
    {IDM_NETWORK_SETTINGS, [] { openNetworkSettings(); }},
    {IDM_RESTORE_DEFAULTS, [] { restoreUnitDefaults(); }},
    {IDM_COPY_EDID, [] { copyEdid(); }},
    {IDM_BUZZER, [] { setBuzzer(!controlState.buzzerEnabled); }},
    {IDM_FIRMWARE_VERSIONS, [] { showFirmwareBox(); }},
    {IDM_ABOUT, [] { showAboutBox(); }},
    {IDM_VGA_IMAGE_ADJUSTMENTS, [] { openVgaImageAdjustments(); }},
};

void runTableAction(int id) {
  for (const CommandAction& entry : kCommandActions) {
    if (entry.id == id) entry.action();
  }
}

// Input buttons are found by their handle: the array index is the input.
void selectInputOfButton(HWND control) {
  if (control == nullptr) return;   // a menu choice
  for (int k = 0; k < kAudioInputCount; ++k) {
    if (mainWindowState.audioInputButtons[k] == control) selectAudioInput(k);
  }
  for (int k = 0; k < kVideoInputCount; ++k) {
    if (mainWindowState.videoInputButtons[k] == control) selectVideoInput(k);
  }
}
}  // namespace

void dispatchCommand(HWND window, int id, HWND control) {
  if (id >= IDM_PORT_BASE && id <= IDM_PORT_LAST) connectToPort(id - IDM_PORT_BASE);
  if (id == IDC_SEND) sendFreeText();
  runTableAction(id);
  selectInputOfButton(control);
  if (id == IDM_EXIT) PostMessageW(window, WM_CLOSE, 0, 0);
}
