#pragma once
#include <windows.h>

#include <cstddef>

// "<operation> failed with error <code>: <system text>" in a modal box
// captioned "Error", built from the calling thread's last error code. The box
// belongs to owner: it stays in front of it, and owner takes no input while
// the box is open.
void showLastErrorBox(HWND owner, const wchar_t* operation);

// A warning box of owner with an OK button, where the operator looks: an owner
// that is minimised is restored first, with what it shows, rather than the
// box standing alone on the desktop.
void showNotice(HWND owner, const wchar_t* text, const wchar_t* caption);

// The system's text for an error code, without the line end the system puts
// after it, cut to units - 1 and terminated; empty when the system has none.
void systemErrorText(DWORD code, wchar_t* text, std::size_t units);
