#pragma once
// Edits whose text is sent to the unit keep all of it.
#include <windows.h>

// Lifts the edit's own text limit (30,000 characters under Wine, 32,767 on
// Windows), which would cut a longer paste without a sign. The edit must
// scroll sideways (ES_AUTOHSCROLL) for the same reason: without it an edit
// keeps only what fits its width.
void keepWholeText(HWND edit);
