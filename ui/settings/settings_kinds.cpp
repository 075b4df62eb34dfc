// The table of settings window kinds. Commands are offered in this order.
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
