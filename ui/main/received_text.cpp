#include "ui/main/received_text.h"

#include <windows.h>

#include "protocol/control_state.h"
#include "protocol/reply_assembly.h"
#include "ui/ids.h"
#include "ui/main/console_pane.h"
#include "ui/main/control_enabling.h"
#include "ui/main/main_window.h"
#include "ui/settings/settings_windows.h"

namespace {
// What the last delivery left of a line that its line end had not reached.
PartialReplyLine partialReply;

void renameBuzzerItem(const wchar_t* text, bool checked) {
  wchar_t itemText[16];
  lstrcpynW(itemText, text, 16);
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STRING;
  info.fType = MFT_STRING;
  info.dwTypeData = itemText;
  SetMenuItemInfoW(mainWindowState.mainMenu, IDM_BUZZER, FALSE, &info);
  setMainMenuItemChecked(IDM_BUZZER, checked);
}

// The main window's share of the effects; the settings windows take theirs.
void applyReplyEffects(const ReplyEffects& effects, const FramedInputs& framedBefore) {
  if (effects.buzzerItemText != nullptr) renameBuzzerItem(effects.buzzerItemText, effects.buzzerItemChecked);
  if (effects.indicatorsChanged) invalidateSelectionHighlights(framedBefore);
  showReplyEffectsInSettingsWindows(effects);
}
}  // namespace

int parseReceivedText(const wchar_t* text, unsigned count) {
  if (count == 0) return 1;
  // One delivery may change an input several times: every frame shown before
  // it is repainted, not only the one the last change left behind.
  FramedInputs framedBefore{controlState.audioInput, controlState.videoInput};
  ReplyEffects effects = parseDeliveredText(controlState, partialReply, text);
  noteUnitLines(effects.linesRead);
  applyReplyEffects(effects, framedBefore);
  // Zero bytes alone (a break on the line) leave no text: an "Rx>" without
  // one would run the pane's next line on behind it.
  if (text[0] != 0) ConsolePane::appendLine(text, ConsoleLineKind::Rx);
  return 0;
}

void forgetPartialReply() { partialReply = PartialReplyLine{}; }
