#pragma once
#include <windows.h>

// "<operation> failed with error <code>: <system text>" in a modal box
// captioned "Error", built from the calling thread's last error code. The box
// belongs to owner: it stays in front of it, and owner takes no input while
// the box is open.
void showLastErrorBox(HWND owner, const wchar_t* operation);
