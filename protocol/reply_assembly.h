#pragma once
// How received text becomes reply lines: the text is cut at its line ends, the
// noise in front of a line's prompt is skipped, and a line that a delivery
// ends in the middle of is kept and finished by the next delivery. Each line
// is then read by the reply grammar.
#include <cstddef>
#include <string_view>

#include "protocol/reply_grammar.h"

// A line as the grammar reads it, from its prompt on. A unit that powers up,
// or an adapter that is plugged in, can put a byte or two of noise on the
// line, and a delivery can end in noise or in a cut line that is then glued to
// the front of the next reply. No reply holds a ">" after its prompt, so a ">"
// inside a line starts the reply: whatever stands in front of the line's last
// run of ">" is skipped. A line without any ">" stays as it is.
std::wstring_view lineFromItsPrompt(std::wstring_view line);

// Reads every line of text that a CR ends (the LF after it is skipped with
// it); the text after the last line end is left alone.
ReplyEffects parseReplyLines(ControlState& state, const wchar_t* text);

// A reply line may arrive in two deliveries (a USB serial adapter hands bytes
// over in packets some milliseconds apart): the end of a delivery that its
// line end has not reached is kept, within a delivery's text limit, and read
// together with the next delivery.
constexpr std::size_t kKeptReplyUnits = 1024;   // a delivery: 1023 units and the terminator

struct PartialReplyLine {
  wchar_t text[kKeptReplyUnits] = {};   // the kept start of a line: its first units units alone
  std::size_t units = 0;                // at most 1023
  bool dropping = false;            // a line too long to keep: skipped to its end
  bool lineFeedMayFollow = false;   // the last delivery ended in a CR
  unsigned long droppedUnits = 0;   // units of lines too long to keep, so far
};

// Parses a delivered text as the continuation of what partial kept from the
// deliveries before it, and keeps the new unfinished end.
ReplyEffects parseDeliveredText(ControlState& state, PartialReplyLine& partial, const wchar_t* text);
