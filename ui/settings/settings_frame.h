#pragma once
// What the three settings windows share: their per-window record, the common
// opening steps and the pieces each kind hands to the window procedure.
#include <windows.h>

enum class SettingsKind : int { OutputVideo, VgaAdjustments, Network };

constexpr int kAddressRowCount = 3;   // IP address, subnet mask, gateway
constexpr int kOctetCount = 4;

// The controls of one window, kept with the window itself so that its own
// buttons act on its own controls even when a newer window of the kind exists.
struct SettingsWindowRecord {
  SettingsKind kind = SettingsKind::VgaAdjustments;
  HWND resolutionCombo = nullptr;
  HWND brightnessTrackbar = nullptr;
  HWND contrastTrackbar = nullptr;
  HWND addressEdits[kAddressRowCount][kOctetCount] = {};
  HWND portEdit = nullptr;
};

// The record a window carries, or null (no record could be made).
SettingsWindowRecord* settingsRecord(HWND window);

// Opening steps 1 to 3: creates the window, stores it in the slot, attaches its
// record and places it. On failure reports it, leaves null in the slot and
// returns null.
HWND beginSettingsWindow(SettingsKind kind, const wchar_t* title, int clientWidth, int clientHeight, HWND* slot);

// Opening step 6: shows the window with the program's show command.
void finishSettingsWindow(HWND window);

// A visible child control; null when it could not be made.
HWND createSettingsControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id, int x,
                           int y, int width, int height);
void setControlFont(HWND control, HFONT font, bool redraw);

// Each kind's part of the window procedure.
void paintOutputVideoTexts(HDC dc);
void paintNetworkTexts(HDC dc);
// True when the id was the kind's own and has been handled.
bool runOutputVideoCommand(SettingsWindowRecord* record, int id);
bool runVgaCommand(int id);
bool runNetworkCommand(SettingsWindowRecord* record, int id);
void runTrackbarScroll(HWND trackbar);
// Clears the slot and the control fields that still name this window or its
// controls; called while the window handles WM_DESTROY.
void forgetOutputVideoWindow(HWND window);
void forgetNetworkWindow(HWND window);
