#include "ui/edit_capacity.h"

void setEditCapacity(HWND edit, int units) { SendMessageW(edit, EM_SETLIMITTEXT, static_cast<WPARAM>(units), 0); }

bool editFilledToCapacity(HWND edit) {
  LRESULT capacity = SendMessageW(edit, EM_GETLIMITTEXT, 0, 0);
  return GetWindowTextLengthW(edit) >= capacity;
}
