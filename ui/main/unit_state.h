#pragma once
// Starting again from what the panel can know of the unit: on a new
// connection and after a factory reset.

// The reported mutes back to their start values, their frames repainted.
void forgetReportedMutesOnScreen();

// The unit state queries, each after its pause (the UI thread sleeps).
void askUnitForItsState();

// File > Restore Default Settings: "<DEFAULT>", then the panel forgets the
// mutes and asks the unit for its factory state.
void restoreUnitDefaults();
