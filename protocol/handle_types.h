#pragma once
// The window-system handle types, declared as the platform declares them
// (pointers to distinct incomplete structs), so that the state record and the
// reply grammar compile in the portable core without the platform headers.
struct HWND__;
struct HMENU__;
struct HFONT__;
typedef HWND__* HWND;
typedef HMENU__* HMENU;
typedef HFONT__* HFONT;
