#pragma once
// The settings windows as the rest of the program sees them: the window
// procedure of their class, their placement, and the replies they show. Each
// kind's own header opens it and names its controls.
#include <windows.h>

#include "protocol/reply_grammar.h"

// Sizes a new settings window to the given client size and centres it on its
// monitor.
void placeSettingsWindow(HWND window, int clientWidth, int clientHeight);

LRESULT CALLBACK settingsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Every kind shows in its newest window what the replies changed.
void showReplyEffectsInSettingsWindows(const ReplyEffects& effects);

// Each kind whose newest window is open sends again what it sends when it
// opens, after a pause: its window then shows this unit's values. Closed
// windows ask nothing. pause makes the pauses (the UI thread sleeps).
void askOpenSettingsWindowsAgain(void (*pause)(unsigned ms));
