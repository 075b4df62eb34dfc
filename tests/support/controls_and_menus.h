#pragma once
// Reading and working the program's windows, controls and menus as an
// operator's tools would: by text, position and id.
#include <windows.h>

#include <string>
#include <vector>

#include "tools/panel-driver/operator_input.h"
#include "tools/panel-driver/program_process.h"

// A child window by its place in the parent's client area (the network
// edits share ids).
HWND childAt(HWND parent, const wchar_t* className, int x, int y);
// A child's rectangle in its parent's client coordinates.
RECT childRect(HWND control);
// The client rectangle's size.
SIZE clientSize(HWND window);
// The child controls of a window in creation order (oldest first).
std::vector<HWND> childrenInCreationOrder(HWND window);

// Clicks a button as the operator would (BM_CLICK) and handles what follows.
void clickButton(HWND button);

// One menu item: its text, id (-1 for a pop-up), grayed and checked marks,
// and its whole MENUITEMINFO state.
struct MenuItem {
  std::wstring text;
  int id = -1;
  bool grayed = false;
  bool checked = false;
  UINT state = 0;   // 0xFFFFFFFF when the item could not be read
  bool operator==(const MenuItem& other) const {
    return text == other.text && id == other.id && grayed == other.grayed && checked == other.checked;
  }
};
// The item at a position of menu, or the item with a command id (any depth).
MenuItem menuItemAt(HMENU menu, int position);
MenuItem menuItemOf(HMENU menu, UINT id);
// A pop-up's items by position.
std::vector<MenuItem> popupItems(HMENU popup);
// Id of the first item (any depth) whose text is text; -1 when none.
int findMenuItemId(HMENU menu, const std::wstring& text);
