#pragma once
// The unit's reply grammar: splits a received text into lines, recognises word
// lines and keyed lines, and stores what they report in ControlState. What the
// windows must show in consequence comes back as one value, ReplyEffects, for
// the user interface to apply; the grammar itself touches no window.
#include <string_view>

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

// The reply keys the panel reads, one table per line form: word lines (a key,
// a blank and the rest) and keyed lines (a key, a colon and the remainder).
// A line is handled by the first row whose key equals its own; others are
// skipped. Each row holds a line as the unit sends it and what reading such a
// line changes, for the protocol reference.
struct ReplyParse;   // one parse under way: the state and the effects so far
struct ReplyKey {
  const wchar_t* key;
  const wchar_t* example;   // a whole line without its CR LF
  const wchar_t* effect;    // what the panel does with it, in one line
  void (*handle)(ReplyParse& parse, std::wstring_view value);
};
constexpr int kWordLineKeyCount = 8;
constexpr int kKeyedLineKeyCount = 13;
extern const ReplyKey kWordLineKeys[kWordLineKeyCount];
extern const ReplyKey kKeyedLineKeys[kKeyedLineKeyCount];

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
