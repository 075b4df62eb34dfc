#pragma once
// "VGA Image Adjustments": a pad of seven buttons that move and size the
// picture of a VGA source.
#include <windows.h>

#include "ui/settings/settings_frame.h"

extern const SettingsKind vgaImageAdjustmentsKind;

// Opens a new window of the kind; 0, or 1 when it could not be created.
int openVgaImageAdjustments();

// The newest window of the kind, null while none is open.
HWND vgaImageAdjustmentsWindow();
