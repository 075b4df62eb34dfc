#pragma once
// "Network Settings": the unit's IP address, port, subnet mask and gateway.
#include <windows.h>

#include "ui/settings/settings_frame.h"

extern const SettingsKind networkSettingsKind;

// Opens a new window of the kind; 0, or 1 when it could not be created.
int openNetworkSettings();

// The newest window of the kind (null while none is open) and its edits;
// octet 0 is the leftmost.
HWND networkSettingsWindow();
HWND ipAddressEdit(int octet);
HWND subnetMaskEdit(int octet);
HWND gatewayEdit(int octet);
HWND portEdit();
