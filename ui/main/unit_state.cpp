#include "ui/main/unit_state.h"

#include <windows.h>

#include "protocol/command_set.h"
#include "protocol/control_state.h"
#include "protocol/query_sequences.h"
#include "protocol/reply_grammar.h"
#include "ui/main/control_enabling.h"
#include "ui/settings/settings_windows.h"

namespace {
// The replies that arrive meanwhile wait in the driver and are parsed once the
// UI thread is back in its loop.
void pauseUiThread(unsigned ms) { Sleep(ms); }
}  // namespace

void forgetUnitReportsOnScreen() {
  FramedInputs framedBefore{controlState.audioInput, controlState.videoInput};
  forgetReportedInputs(controlState);
  forgetReportedMutes(controlState);
  invalidateSelectionHighlights(framedBefore);
  forgetNetworkSettings(controlState);
  ReplyEffects networkForgotten;
  networkForgotten.networkChanged = true;
  showReplyEffectsInSettingsWindows(networkForgotten);
}

void askUnitForWhatThePanelShows() {
  runQuerySteps(kUnitStateQueries, pauseUiThread);
  askOpenSettingsWindowsAgain(pauseUiThread);
}

void restoreUnitDefaults() {
  restoreDefaults();
  forgetUnitReportsOnScreen();
  askUnitForWhatThePanelShows();
}
