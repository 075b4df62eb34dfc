#pragma once
// The unit's reply grammar: reads one reply line as a word line or a keyed
// line and stores what it reports in ControlState. What the windows must show
// in consequence comes back as one value, ReplyEffects, for the user interface
// to apply; the grammar itself touches no window. How a received text is cut
// into lines is reply_assembly.h's.
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
  int brightnessPosition = 0;       // where it moves to: set with brightnessMoved, read only then
  bool contrastMoved = false;       // the same for "Contrast Value"
  int contrastPosition = 0;

  // The buzzer menu item after a "Bell" or "Bell Status" reply: its new text
  // (null: no such reply came) and whether it carries the check mark, which
  // is set with the text and read only with it.
  const wchar_t* buzzerItemText = nullptr;
  bool buzzerItemChecked = false;

  // Whole lines read, whether their key is known or not, empty ones aside:
  // the unit on the line has answered.
  int linesRead = 0;
};

// One parse under way: the state it writes and the effects so far.
struct ReplyParse {
  ControlState& state;
  ReplyEffects effects;
};

// The reply keys the panel reads, one table per line form: word lines (a key,
// a blank and the rest) and keyed lines (a key, a colon and the remainder).
// A line is handled by the first row whose key equals its own; others are
// skipped. Each row holds a line as the unit sends it and what reading such a
// line changes, for the protocol reference.
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

// Reads one line, without its line end: the unit's ">" prompts in front of it
// are dropped, then the line is read as a keyed line when it holds a colon and
// as a word line otherwise. An empty or prompt-only line changes nothing.
void readReplyLine(ReplyParse& parse, std::wstring_view line);
