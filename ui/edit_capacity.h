#pragma once
// Edits whose text goes to the unit scroll sideways (ES_AUTOHSCROLL), so they
// keep what is typed or pasted, not what fits their width, up to a capacity
// of their own. Under Wine an edit's work on its one line grows with the
// line: a paste of 40,000 characters took over a second to insert and as long
// again to paint, so each edit holds what its purpose needs and no more.
#include <windows.h>

// Sets how many characters edit holds (its text limit; beyond it a typed
// character is refused and a paste is cut).
void setEditCapacity(HWND edit, int units);

// True when edit is filled to its capacity: what was typed or pasted may have
// been cut there, so such a text is never sent.
bool editFilledToCapacity(HWND edit);
