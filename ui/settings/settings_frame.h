#pragma once
// The frame every settings window shares, and the descriptor through which
// each kind of settings window tells the frame what makes it. The frame opens,
// places, paints and closes every kind alike; a new kind is a new file with
// its descriptor and a row in the table of kinds.
#include <windows.h>

#include "protocol/reply_grammar.h"

struct SettingsKind {
  const wchar_t* title;
  int clientWidth;
  int clientHeight;
  // The kind's newest window, null while none is open: the frame sets it when
  // it opens one and clears it when that window is destroyed.
  HWND* newestWindow;
  // Creates the controls in their order of creation (addSettingsControl).
  void (*createControls)(HWND window);
  // Sends what the kind asks the unit when it opens; null: nothing.
  void (*sendOpeningQueries)();
  // Draws the kind's lines in its newest window; null: nothing is drawn.
  void (*paintLines)(HDC dc);
  // A command from a settings window: true when the id is the kind's own
  // (handled, whatever the window), false to offer it to the next kind.
  bool (*runCommand)(HWND window, int id);
  // A trackbar's scroll message; null: the kind has no trackbar.
  void (*scroll)(HWND trackbar);
  // Shows in the newest window what the unit's replies changed; null: none.
  void (*showReplyEffects)(const ReplyEffects& effects);
};

// Every kind, in the order in which commands are offered to them.
extern const SettingsKind* const kSettingsKinds[];
extern const int kSettingsKindCount;

// Builds a new window of the kind, sends its opening queries and shows it; 0,
// or 1 when the window could not be created.
int openSettingsWindow(const SettingsKind& kind);

// The kind of a settings window; null for any other window.
const SettingsKind* settingsKindOf(HWND window);

enum class SettingsFont { None, Ui, UiRedraw, Fixed };

struct SettingsControlSpec {
  const wchar_t* className;
  const wchar_t* text;
  DWORD style;   // besides WS_CHILD and WS_VISIBLE
  int id;
  int x, y, width, height;
  SettingsFont font;
};

// Creates a visible child control of a settings window and keeps its handle
// with the window, at the next index; null when it could not be made.
HWND addSettingsControl(HWND window, const SettingsControlSpec& row);

// The control that a settings window's kind created at index (counted in order
// of creation); null when there is none or the window is gone.
HWND settingsControl(HWND window, int index);

// Repaints at once a rectangle of the kind's newest window, when one is open.
void repaintNewestWindow(const SettingsKind& kind, const RECT& rect);
