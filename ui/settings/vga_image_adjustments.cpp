// "VGA Image Adjustments": a pad of seven buttons, each sending one picture
// command per click. It shows nothing and asks the unit nothing.
#include "ui/settings/vga_image_adjustments.h"

#include "protocol/command_set.h"
#include "ui/ids.h"

namespace {
struct PadButton {
  SettingsControlSpec control;
  int (*command)(bool plus);   // null: the "Auto" button
  bool plus;
};

constexpr DWORD kButtonStyle = WS_TABSTOP | BS_DEFPUSHBUTTON;

// A cross with 8-pixel gaps around "Auto", and two tall buttons at the right.
const PadButton kButtons[] = {
    {{L"BUTTON", L"Up", kButtonStyle, IDC_VGA_UP, 89, 8, 60, 73, SettingsFont::Ui}, stepVerticalStart, true},
    {{L"BUTTON", L"Down", kButtonStyle, IDC_VGA_DOWN, 89, 157, 60, 73, SettingsFont::Ui}, stepVerticalStart, false},
    {{L"BUTTON", L"Left", kButtonStyle, IDC_VGA_LEFT, 8, 89, 73, 60, SettingsFont::Ui}, stepHorizontalStart, true},
    {{L"BUTTON", L"Right", kButtonStyle, IDC_VGA_RIGHT, 157, 89, 73, 60, SettingsFont::Ui}, stepHorizontalStart,
     false},
    {{L"BUTTON", L"Auto", kButtonStyle, IDC_VGA_AUTO, 89, 89, 60, 60, SettingsFont::Ui}, nullptr, false},
    {{L"BUTTON", L"Grow", kButtonStyle, IDC_VGA_GROW, 238, 8, 60, 107, SettingsFont::Ui}, stepHorizontalTotal, true},
    {{L"BUTTON", L"Shrink", kButtonStyle, IDC_VGA_SHRINK, 238, 123, 60, 107, SettingsFont::Ui}, stepHorizontalTotal,
     false},
};

HWND newestWindow = nullptr;

void createControls(HWND window) {
  for (const PadButton& button : kButtons) addSettingsControl(window, button.control);
}

// The pad's commands need nothing of a window: they act from any settings window.
bool runCommand(HWND, int id) {
  for (const PadButton& button : kButtons) {
    if (button.control.id != id) continue;
    if (button.command != nullptr) {
      button.command(button.plus);
    } else {
      autoAdjust();
    }
    return true;
  }
  return false;
}
}  // namespace

const SettingsKind vgaImageAdjustmentsKind = {
    L"VGA Image Adjustments", 306, 238, &newestWindow, createControls, nullptr, nullptr, runCommand, nullptr, nullptr,
};

int openVgaImageAdjustments() { return openSettingsWindow(vgaImageAdjustmentsKind); }

HWND vgaImageAdjustmentsWindow() { return newestWindow; }
