// The table of settings window kinds. Commands are offered in this order, and
// the open windows ask the unit again in this order.
#include "protocol/query_sequences.h"
#include "ui/settings/network_settings.h"
#include "ui/settings/output_video_settings.h"
#include "ui/settings/settings_frame.h"
#include "ui/settings/settings_windows.h"
#include "ui/settings/vga_image_adjustments.h"

const SettingsKind* const kSettingsKinds[] = {&outputVideoSettingsKind, &vgaImageAdjustmentsKind,
                                              &networkSettingsKind};
const int kSettingsKindCount = sizeof kSettingsKinds / sizeof kSettingsKinds[0];

void showReplyEffectsInSettingsWindows(const ReplyEffects& effects) {
  for (const SettingsKind* kind : kSettingsKinds)
    if (kind->showReplyEffects != nullptr) kind->showReplyEffects(effects);
}

void askOpenSettingsWindowsAgain(void (*pause)(unsigned ms)) {
  for (const SettingsKind* kind : kSettingsKinds) {
    HWND window = *kind->newestWindow;
    if (kind->sendOpeningQueries == nullptr || window == nullptr || !IsWindow(window)) continue;
    // The unit wants the same pause between a kind's queries and what went before.
    pause(kQueryPauseMs);
    kind->sendOpeningQueries();
  }
}
