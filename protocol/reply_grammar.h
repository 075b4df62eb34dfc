#pragma once
// The unit's reply grammar: splits a received text into lines, recognises word
// lines and keyed lines, and stores what they report in ControlState. What the
// windows must show in consequence comes back as one value, ReplyEffects, for
// the user interface to apply; the grammar itself touches no window.
#include "protocol/control_state.h"

struct ReplyEffects {
  // State that painted parts show has changed.
  bool indicatorsChanged = false;   // inputs or mutes: the main window's frames
  bool resolutionChanged = false;   // outputResolution: the "Current resolution" line
  bool networkChanged = false;      // network values: the current-value lines

  // Controls to set, as the replies ask (the last such reply of the text wins).
  int resolutionItem = -1;          // "Output Resolution": the list item; -1 none
  bool brightnessMoved = false;     // the first "Brightness Value" after its query
  int brightnessPosition = 0;
  bool contrastMoved = false;       // the same for "Contrast Value"
  int contrastPosition = 0;

  // The buzzer menu item after a "Bell" or "Bell Status" reply: its new text
  // (null: no such reply came) and whether it carries the check mark.
  const wchar_t* buzzerItemText = nullptr;
  bool buzzerItemChecked = false;
};

// Parses every complete line of text (ended by CR) into state. Empty lines
// and lines made only of ">" are skipped; the text after the last line end is
// left alone.
ReplyEffects parseReplyLines(ControlState& state, const wchar_t* text);

// A reply line may arrive in two deliveries (a USB serial adapter hands bytes
// over in packets some milliseconds apart): the end of a delivery that its
// line end has not reached is kept, within a delivery's text limit, and read
// together with the next delivery.
constexpr std::size_t kKeptReplyUnits = 1024;   // 1023 units and the terminator

struct PartialReplyLine {
  wchar_t text[kKeptReplyUnits] = {};   // the kept start of a line, terminated
  std::size_t units = 0;
  bool dropping = false;            // a line too long to keep: skipped to its end
  bool lineFeedMayFollow = false;   // the last delivery ended in a CR
  unsigned long droppedUnits = 0;   // units of lines too long to keep, so far
};

// Parses a delivered text as the continuation of what partial kept from the
// deliveries before it, and keeps the new unfinished end.
ReplyEffects parseDeliveredText(ControlState& state, PartialReplyLine& partial, const wchar_t* text);
