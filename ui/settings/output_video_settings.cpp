// "Output Video Settings": the resolution list with its "Set" button and the
// brightness and contrast trackbars, which send while they move.
#include "ui/settings/output_video_settings.h"

#include <commctrl.h>
#include <strsafe.h>

#include "protocol/command_set.h"
#include "protocol/control_state.h"
#include "ui/ids.h"

namespace {
constexpr int kTextUnits = 128;
constexpr DWORD kTrackbarStyle = TBS_HORZ | TBS_BOTH | TBS_NOTICKS | TBS_ENABLESELRANGE;

// The controls by their index in the window, which is their order of creation.
enum Control { kResolutionCombo, kSetButton, kBrightnessTrackbar, kContrastTrackbar };

// The combo's height includes its dropped-down list.
const SettingsControlSpec kControls[] = {
    {L"ComboBox", L"Select Resolution", CBS_DROPDOWNLIST | CBS_HASSTRINGS, IDC_RESOLUTION_COMBO, 8, 32, 180, 400,
     SettingsFont::UiRedraw},
    {L"BUTTON", L"Set", WS_TABSTOP | BS_DEFPUSHBUTTON, IDC_SET_RESOLUTION, 196, 32, 65, 23, SettingsFont::Ui},
    {TRACKBAR_CLASSW, L"Trackbar Control", kTrackbarStyle, IDC_BRIGHTNESS_TRACKBAR, 8, 94, 253, 30,
     SettingsFont::None},
    {TRACKBAR_CLASSW, L"Trackbar Control", kTrackbarStyle, IDC_CONTRAST_TRACKBAR, 8, 156, 253, 30,
     SettingsFont::None},
};

struct Label {
  const wchar_t* text;
  int x, y;
};
const Label kLabels[] = {{L"Set brightness", 8, 70}, {L"Set contrast", 8, 132}};

// Where the "Current resolution" line stands, repainted when a reply changes it.
const RECT kCurrentResolutionLine = {8, 8, 277, 24};

HWND newestWindow = nullptr;

void createControls(HWND window) {
  // The trackbar class belongs to the common controls; asking again is harmless.
  INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  for (const SettingsControlSpec& row : kControls) addSettingsControl(window, row);
  // List positions are resolution indices; a new list starts at the first.
  HWND combo = settingsControl(window, kResolutionCombo);
  for (const auto& name : resolutionTable) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

void sendOpeningQueries() {
  readOutputResolution();
  // Only the first value reply after these queries moves a trackbar.
  controlState.brightnessQueryPending = true;
  readBrightness();
  controlState.contrastQueryPending = true;
  readContrast();
}

void paintLines(HDC dc) {
  int index = controlState.outputResolution;
  if (index < 0 || index >= kResolutionCount) index = 0;
  wchar_t line[kTextUnits] = {};
  StringCchPrintfW(line, kTextUnits, L"Current resolution: %ls", resolutionTable[index]);
  TextOutW(dc, 8, 8, line, lstrlenW(line));
  for (const Label& label : kLabels) TextOutW(dc, label.x, label.y, label.text, lstrlenW(label.text));
}

// A "Set" of a window of another kind does nothing.
bool runCommand(HWND window, int id) {
  if (id != IDC_SET_RESOLUTION) return false;
  if (settingsKindOf(window) != &outputVideoSettingsKind) return true;
  // Sent even when it equals the unit's resolution: the reply updates the line.
  LRESULT position = SendMessageW(settingsControl(window, kResolutionCombo), CB_GETCURSEL, 0, 0);
  if (position >= 0 && position < kResolutionCount) selectOutputResolution(static_cast<int>(position));
  return true;
}

// Every notification counts alike; the senders skip a value already sent.
// The operator's move wins over an answer still awaited for that trackbar:
// the answer tells what the unit held before the move.
void scroll(HWND trackbar) {
  int position = static_cast<int>(SendMessageW(trackbar, TBM_GETPOS, 0, 0));
  switch (GetDlgCtrlID(trackbar)) {
    case IDC_BRIGHTNESS_TRACKBAR:
      controlState.brightnessQueryPending = false;
      setBrightness(position);
      break;
    case IDC_CONTRAST_TRACKBAR:
      controlState.contrastQueryPending = false;
      setContrast(position);
      break;
    default:
      break;
  }
}

// Moving a trackbar here sends nothing: it sends no scroll message.
void showReplyEffects(const ReplyEffects& effects) {
  if (effects.resolutionItem >= 0)
    SendMessageW(resolutionCombo(), CB_SETCURSEL, static_cast<WPARAM>(effects.resolutionItem), 0);
  if (effects.brightnessMoved) SendMessageW(brightnessTrackbar(), TBM_SETPOS, TRUE, effects.brightnessPosition);
  if (effects.contrastMoved) SendMessageW(contrastTrackbar(), TBM_SETPOS, TRUE, effects.contrastPosition);
  if (effects.resolutionChanged) repaintNewestWindow(outputVideoSettingsKind, kCurrentResolutionLine);
}
}  // namespace

const SettingsKind outputVideoSettingsKind = {
    L"Output Video Settings", 277, 194, &newestWindow, createControls, sendOpeningQueries,
    paintLines,               runCommand, scroll,       showReplyEffects,
};

int openOutputVideoSettings() { return openSettingsWindow(outputVideoSettingsKind); }

HWND outputVideoSettingsWindow() { return newestWindow; }
HWND resolutionCombo() { return settingsControl(newestWindow, kResolutionCombo); }
HWND brightnessTrackbar() { return settingsControl(newestWindow, kBrightnessTrackbar); }
HWND contrastTrackbar() { return settingsControl(newestWindow, kContrastTrackbar); }
