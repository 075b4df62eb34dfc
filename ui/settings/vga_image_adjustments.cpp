// "VGA Image Adjustments": a pad of seven buttons, each sending one picture
// command per click. It shows nothing and asks the unit nothing.
#include <windows.h>

#include "protocol/command_set.h"
#include "protocol/control_state.h"
#include "ui/ids.h"
#include "ui/settings/settings_frame.h"
#include "ui/settings/settings_windows.h"

namespace {
constexpr int kClientWidth = 306;
constexpr int kClientHeight = 238;

struct PadButton {
  const wchar_t* text;
  int id;
  int x, y, width, height;
  int (*command)(bool plus);   // null: the "Auto" button
  bool plus;
};

// A cross with 8-pixel gaps around "Auto", and two tall buttons at the right.
const PadButton kButtons[] = {
    {L"Up", IDC_VGA_UP, 89, 8, 60, 73, stepVerticalStart, true},
    {L"Down", IDC_VGA_DOWN, 89, 157, 60, 73, stepVerticalStart, false},
    {L"Left", IDC_VGA_LEFT, 8, 89, 73, 60, stepHorizontalStart, true},
    {L"Right", IDC_VGA_RIGHT, 157, 89, 73, 60, stepHorizontalStart, false},
    {L"Auto", IDC_VGA_AUTO, 89, 89, 60, 60, nullptr, false},
    {L"Grow", IDC_VGA_GROW, 238, 8, 60, 107, stepHorizontalTotal, true},
    {L"Shrink", IDC_VGA_SHRINK, 238, 123, 60, 107, stepHorizontalTotal, false},
};
}  // namespace

int openVgaImageAdjustments() {
  HWND window = beginSettingsWindow(SettingsKind::VgaAdjustments, L"VGA Image Adjustments", kClientWidth,
                                    kClientHeight, &controlState.vgaAdjustmentsWindow);
  if (window == nullptr) return 1;
  for (const PadButton& button : kButtons) {
    HWND control = createSettingsControl(window, L"BUTTON", button.text, WS_TABSTOP | BS_DEFPUSHBUTTON, button.id,
                                         button.x, button.y, button.width, button.height);
    setControlFont(control, controlState.uiFont, false);
  }
  finishSettingsWindow(window);
  return 0;
}

bool runVgaCommand(int id) {
  for (const PadButton& button : kButtons) {
    if (button.id != id) continue;
    if (button.command != nullptr) {
      button.command(button.plus);
    } else {
      autoAdjust();
    }
    return true;
  }
  return false;
}
