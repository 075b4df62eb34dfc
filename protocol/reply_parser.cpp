#include "protocol/reply_parser.h"

#include <windows.h>
#include <commctrl.h>

#include "protocol/control_state.h"
#include "protocol/reply_grammar.h"
#include "ui/ids.h"
#include "ui/main/console_pane.h"
#include "ui/main/control_enabling.h"

namespace {
// A settings window's handle may name a window that has gone; a null handle
// would repaint the whole desktop. Either way there is nothing to repaint.
bool isLiveWindow(HWND window) { return window != nullptr && IsWindow(window); }

void selectResolutionItem(int index) {
  if (isLiveWindow(controlState.resolutionCombo))
    SendMessageW(controlState.resolutionCombo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void setTrackbarPosition(HWND trackbar, int value) {
  if (isLiveWindow(trackbar)) SendMessageW(trackbar, TBM_SETPOS, TRUE, value);
}
void setBrightnessPosition(int value) { setTrackbarPosition(controlState.brightnessTrackbar, value); }
void setContrastPosition(int value) { setTrackbarPosition(controlState.contrastTrackbar, value); }

void updateBuzzerMenuItem(bool enabled) {
  wchar_t text[16];
  lstrcpynW(text, enabled ? L"Disable &Buzzer" : L"Enable &Buzzer", 16);
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STRING;
  info.fType = MFT_STRING;
  info.dwTypeData = text;
  SetMenuItemInfoW(controlState.mainMenu, IDM_BUZZER, FALSE, &info);
  setMainMenuItemChecked(IDM_BUZZER, enabled);
}

void repaintSettingsLines(HWND window, RECT rect) {
  if (!isLiveWindow(window)) return;
  InvalidateRect(window, &rect, TRUE);
  UpdateWindow(window);
}

const ReplyHooks windowHooks = {selectResolutionItem, setBrightnessPosition, setContrastPosition,
                                updateBuzzerMenuItem};
}  // namespace

int parseReceivedText(const wchar_t* text, unsigned count) {
  if (count == 0) return 1;
  ReplyChanges changes = parseReplyLines(controlState, text, windowHooks);
  if (changes.indicatorsChanged) invalidateSelectionHighlights();
  if (changes.resolutionChanged) repaintSettingsLines(controlState.videoSettingsWindow, RECT{8, 8, 277, 24});
  if (changes.networkChanged) repaintSettingsLines(controlState.networkSettingsWindow, RECT{8, 8, 401, 72});
  ConsolePane::appendLine(text, ConsoleLineKind::Rx);
  return 0;
}
