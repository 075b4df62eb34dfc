#pragma once
// "Output Video Settings": the unit's output resolution, brightness and contrast.
#include <windows.h>

#include "ui/settings/settings_frame.h"

extern const SettingsKind outputVideoSettingsKind;

// Opens a new window of the kind; 0, or 1 when it could not be created.
int openOutputVideoSettings();

// The newest window of the kind (null while none is open) and its controls.
HWND outputVideoSettingsWindow();
HWND resolutionCombo();
HWND brightnessTrackbar();
HWND contrastTrackbar();
