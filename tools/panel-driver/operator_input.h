#pragma once
// Text into an edit as an operator puts it there: typed key by key, or pasted
// from the clipboard. Both reach the edit through its own limits (its width
// without ES_AUTOHSCROLL, its text limit), which WM_SETTEXT passes by.
#include <windows.h>

#include <functional>
#include <string>

// Each character as the keyboard's WM_CHAR, in order.
void typeInto(HWND edit, const std::wstring& text);

// Puts text on the clipboard (owned by edit's top-level window) and pastes it
// into edit with WM_PASTE; false when the clipboard could not be set.
bool pasteInto(HWND edit, const std::wstring& text);

// Clicks at a client point of window with real mouse input (SendInput): it
// waits in the input queue behind whatever the window's thread is busy with.
void clickWithMouse(HWND window, int x, int y);

// Runs action on this thread while another thread asks window to answer (a
// sent WM_NULL) with limitMs to do it; true when the window answered.
bool answersWhile(HWND window, const std::function<void()>& action, unsigned limitMs = 5000);
