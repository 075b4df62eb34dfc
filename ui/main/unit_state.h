#pragma once
// Starting again from what the panel can know of the unit: on a new
// connection and after a factory reset.

// The reported inputs, mutes and network settings back to their start values,
// shown at once: the input and mute frames and the network lines are
// repainted.
void forgetUnitReportsOnScreen();

// The unit state queries, each after its pause (the UI thread sleeps); then
// each open settings window asks again what it asks when it opens, after the
// same pause, so that it shows this unit's values.
void askUnitForWhatThePanelShows();

// File > Restore Default Settings: "<DEFAULT>", then the panel forgets the
// mutes and network settings and asks the unit for its factory state.
void restoreUnitDefaults();
