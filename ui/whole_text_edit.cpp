#include "ui/whole_text_edit.h"

void keepWholeText(HWND edit) { SendMessageW(edit, EM_SETLIMITTEXT, 0, 0); }
