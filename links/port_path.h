#pragma once
// The path a listed port is opened by. Windows opens COM1 to COM9 by their
// bare names; every other port (COM10 and up, which USB serial adapters get
// as soon as a PC has seen a few, and the names of virtual-port drivers such
// as CNCA0) opens only in the device namespace, "\\.\COM12". Every listed name
// is opened there; a name that holds a backslash already is a path and is
// opened as it stands. What the operator sees keeps the listed name.
#include <cstddef>

// Room for the namespace prefix and a device name of up to 255 units, a file
// name's limit, terminated.
constexpr std::size_t kPortPathUnits = 260;

// Writes the path of name into out (size units, terminated); false when it
// does not fit, and out then holds the empty text.
bool portDevicePath(const wchar_t* name, wchar_t* out, std::size_t size);
