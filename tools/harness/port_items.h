#pragma once
// The program's "&Connect" port items as a freshly started program lists them.
#include <string>

// Index of the item that names the port, from the program's own listing of
// the machine's ports; its menu id is IDM_PORT_BASE + index. -1 when none.
int portItemIndex(const std::wstring& name);
