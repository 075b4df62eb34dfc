#pragma once
// "<operation> failed with error <code>: <system text>" in a modal box
// captioned "Error", built from the calling thread's last error code.
void showLastErrorBox(const wchar_t* operation);
