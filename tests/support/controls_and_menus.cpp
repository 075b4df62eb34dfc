#include "tests/support/controls_and_menus.h"

#include "tools/panel-driver/program_process.h"
#include "tools/panel-driver/waiting.h"

namespace {
constexpr int kClassUnits = 64;
constexpr int kMenuTextUnits = 256;

struct ChildSearch {
  const wchar_t* className;
  POINT at;
  HWND found;
};

BOOL CALLBACK matchChild(HWND child, LPARAM data) {
  auto* search = reinterpret_cast<ChildSearch*>(data);
  wchar_t name[kClassUnits];
  GetClassNameW(child, name, kClassUnits);
  RECT rect = childRect(child);
  if (lstrcmpiW(name, search->className) == 0 && rect.left == search->at.x && rect.top == search->at.y) {
    search->found = child;
    return FALSE;
  }
  return TRUE;
}

MenuItem readItem(HMENU menu, UINT item, BOOL byPosition) {
  wchar_t text[kMenuTextUnits] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
  info.dwTypeData = text;
  info.cch = kMenuTextUnits;
  MenuItem read;
  if (!GetMenuItemInfoW(menu, item, byPosition, &info)) {
    read.state = 0xFFFFFFFF;
    return read;
  }
  read.text = text;
  read.id = info.hSubMenu != nullptr ? -1 : static_cast<int>(info.wID);
  read.grayed = (info.fState & MF_GRAYED) != 0;
  read.checked = (info.fState & MF_CHECKED) != 0;
  read.state = info.fState;
  return read;
}
}  // namespace

HWND childAt(HWND parent, const wchar_t* className, int x, int y) {
  ChildSearch search{className, {x, y}, nullptr};
  EnumChildWindows(parent, matchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

RECT childRect(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

SIZE clientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

std::vector<HWND> childrenInCreationOrder(HWND window) {
  // A new child goes to the bottom of its siblings' order.
  std::vector<HWND> children;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

void clickButton(HWND button) {
  SendMessageW(button, BM_CLICK, 0, 0);
  pumpMessages();
}

MenuItem menuItemAt(HMENU menu, int position) { return readItem(menu, static_cast<UINT>(position), TRUE); }

MenuItem menuItemOf(HMENU menu, UINT id) { return readItem(menu, id, FALSE); }

std::vector<MenuItem> popupItems(HMENU popup) {
  std::vector<MenuItem> items;
  int count = GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) items.push_back(menuItemAt(popup, i));
  return items;
}

int findMenuItemId(HMENU menu, const std::wstring& text) {
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (HMENU sub = GetSubMenu(menu, i)) {
      int id = findMenuItemId(sub, text);
      if (id != -1) return id;
    } else if (menuItemAt(menu, i).text == text) {
      return static_cast<int>(GetMenuItemID(menu, i));
    }
  }
  return -1;
}
