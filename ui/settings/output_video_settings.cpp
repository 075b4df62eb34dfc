// "Output Video Settings": the resolution list with its "Set" button and the
// brightness and contrast trackbars, which send while they move.
#include <windows.h>
#include <commctrl.h>
#include <strsafe.h>

#include "protocol/command_set.h"
#include "protocol/control_state.h"
#include "ui/ids.h"
#include "ui/settings/settings_frame.h"
#include "ui/settings/settings_windows.h"

namespace {
constexpr int kClientWidth = 277;
constexpr int kClientHeight = 194;
constexpr int kTextUnits = 128;

enum class FontChoice { None, UiRedraw, UiNoRedraw };

struct ControlSpec {
  const wchar_t* className;
  const wchar_t* text;
  DWORD style;
  int id;
  int x, y, width, height;
  FontChoice font;
  HWND SettingsWindowRecord::*kept;   // null: the handle is not kept
  HWND ControlState::*stateField;
};

constexpr DWORD kTrackbarStyle = TBS_HORZ | TBS_BOTH | TBS_NOTICKS | TBS_ENABLESELRANGE;

// The combo's height includes its dropped-down list.
const ControlSpec kControls[] = {
    {L"ComboBox", L"Select Resolution", CBS_DROPDOWNLIST | CBS_HASSTRINGS, IDC_RESOLUTION_COMBO, 8, 32, 180, 400,
     FontChoice::UiRedraw, &SettingsWindowRecord::resolutionCombo, &ControlState::resolutionCombo},
    {L"BUTTON", L"Set", WS_TABSTOP | BS_DEFPUSHBUTTON, IDC_SET_RESOLUTION, 196, 32, 65, 23, FontChoice::UiNoRedraw,
     nullptr, nullptr},
    {TRACKBAR_CLASSW, L"Trackbar Control", kTrackbarStyle, IDC_BRIGHTNESS_TRACKBAR, 8, 94, 253, 30, FontChoice::None,
     &SettingsWindowRecord::brightnessTrackbar, &ControlState::brightnessTrackbar},
    {TRACKBAR_CLASSW, L"Trackbar Control", kTrackbarStyle, IDC_CONTRAST_TRACKBAR, 8, 156, 253, 30, FontChoice::None,
     &SettingsWindowRecord::contrastTrackbar, &ControlState::contrastTrackbar},
};

struct Label {
  const wchar_t* text;
  int x, y;
};
const Label kLabels[] = {{L"Set brightness", 8, 70}, {L"Set contrast", 8, 132}};

void createControls(HWND window, SettingsWindowRecord* record) {
  for (const ControlSpec& row : kControls) {
    HWND control = createSettingsControl(window, row.className, row.text, row.style, row.id, row.x, row.y,
                                         row.width, row.height);
    if (row.stateField != nullptr) controlState.*row.stateField = control;
    if (row.kept != nullptr && record != nullptr) record->*row.kept = control;
    if (row.font != FontChoice::None) setControlFont(control, controlState.uiFont, row.font == FontChoice::UiRedraw);
  }
  // List positions are resolution indices; a new list starts at the first.
  for (const auto& name : resolutionTable)
    SendMessageW(controlState.resolutionCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  SendMessageW(controlState.resolutionCombo, CB_SETCURSEL, 0, 0);
}

void sendOpeningQueries() {
  readOutputResolution();
  // Only the first value reply after these queries moves a trackbar.
  controlState.brightnessQueryPending = true;
  readBrightness();
  controlState.contrastQueryPending = true;
  readContrast();
}
}  // namespace

int openOutputVideoSettings() {
  // The trackbar class belongs to the common controls; asking again is harmless.
  INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  HWND window = beginSettingsWindow(SettingsKind::OutputVideo, L"Output Video Settings", kClientWidth, kClientHeight,
                                    &controlState.videoSettingsWindow);
  if (window == nullptr) return 1;
  createControls(window, settingsRecord(window));
  sendOpeningQueries();
  finishSettingsWindow(window);
  return 0;
}

void paintOutputVideoTexts(HDC dc) {
  int index = controlState.outputResolution;
  if (index < 0 || index >= kResolutionCount) index = 0;
  wchar_t line[kTextUnits] = {};
  StringCchPrintfW(line, kTextUnits, L"Current resolution: %ls", resolutionTable[index]);
  TextOutW(dc, 8, 8, line, lstrlenW(line));
  for (const Label& label : kLabels) TextOutW(dc, label.x, label.y, label.text, lstrlenW(label.text));
}

bool runOutputVideoCommand(SettingsWindowRecord* record, int id) {
  if (id != IDC_SET_RESOLUTION) return false;
  if (record == nullptr || record->resolutionCombo == nullptr) return true;
  // Sent even when it equals the unit's resolution: the reply updates the line.
  LRESULT position = SendMessageW(record->resolutionCombo, CB_GETCURSEL, 0, 0);
  if (position >= 0 && position < kResolutionCount) selectOutputResolution(static_cast<int>(position));
  return true;
}

void runTrackbarScroll(HWND trackbar) {
  if (trackbar == nullptr) return;
  // Every notification counts alike; the senders skip a value already sent.
  int position = static_cast<int>(SendMessageW(trackbar, TBM_GETPOS, 0, 0));
  switch (GetDlgCtrlID(trackbar)) {
    case IDC_BRIGHTNESS_TRACKBAR:
      setBrightness(position);
      break;
    case IDC_CONTRAST_TRACKBAR:
      setContrast(position);
      break;
    default:
      break;
  }
}

void forgetOutputVideoWindow(HWND window) {
  if (controlState.videoSettingsWindow == window) controlState.videoSettingsWindow = nullptr;
  // The children still exist while their parent handles WM_DESTROY.
  for (const ControlSpec& row : kControls) {
    if (row.stateField == nullptr) continue;
    HWND& field = controlState.*row.stateField;
    if (field != nullptr && GetParent(field) == window) field = nullptr;
  }
}
