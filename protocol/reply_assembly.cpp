#include "protocol/reply_assembly.h"

namespace {
using Text = std::wstring_view;
using Parse = ReplyParse;

void parseLine(Parse& p, Text line) {
  if (!line.empty()) ++p.effects.linesRead;
  readReplyLine(p, lineFromItsPrompt(line));
}

// The text behind the line that ends at the CR at cr: the unit ends lines with
// CR LF, so both are skipped (only the CR when it is last).
Text afterLineEnd(Text text, std::size_t cr, PartialReplyLine& partial) {
  if (cr + 1 == text.size()) partial.lineFeedMayFollow = true;
  return text.substr(cr + 2 <= text.size() ? cr + 2 : text.size());
}

// Parses every line of text that its line end has reached; returns how much
// of the text that was. What follows the last line end is left.
std::size_t parseCompleteLines(Parse& p, Text text) {
  std::size_t parsed = 0;
  for (;;) {
    std::size_t cr = text.find(L'\r', parsed);
    if (cr == Text::npos) return parsed;
    parseLine(p, text.substr(parsed, cr - parsed));
    parsed = cr + 2 <= text.size() ? cr + 2 : text.size();
  }
}

// The kept start of a line and this delivery's text up to its line end make
// one line; returns the text behind that line end. Without a line end the
// whole text joins what is kept.
Text finishKeptLine(Parse& p, PartialReplyLine& partial, Text rest) {
  std::size_t cr = rest.find(L'\r');
  if (cr == Text::npos) return rest;
  wchar_t line[2 * kKeptReplyUnits];
  std::size_t head = cr < kKeptReplyUnits ? cr : kKeptReplyUnits;
  for (std::size_t i = 0; i < partial.units; ++i) line[i] = partial.text[i];
  rest.copy(line + partial.units, head);
  // A line end beyond a whole delivery's text cannot come from the reader;
  // such a line is dropped like any line too long to keep.
  if (head == cr) {
    parseLine(p, Text(line, partial.units + head));
  } else {
    partial.droppedUnits += partial.units + cr;
  }
  partial.units = 0;
  return afterLineEnd(rest, cr, partial);
}

// Keeps the unfinished end of a delivery for the next one. A line that would
// outgrow the limit is dropped whole, counted, and skipped up to its line end,
// so that no part of it is ever read as a line of its own.
void keepUnfinishedLine(PartialReplyLine& partial, Text unfinished) {
  if (unfinished.empty()) return;
  if (partial.units + unfinished.size() > kKeptReplyUnits - 1) {
    partial.droppedUnits += partial.units + unfinished.size();
    partial.units = 0;
    partial.dropping = true;
    return;
  }
  unfinished.copy(partial.text + partial.units, unfinished.size());
  partial.units += unfinished.size();
}
}  // namespace

std::wstring_view lineFromItsPrompt(std::wstring_view line) {
  std::size_t lastPrompt = line.rfind(L'>');
  if (lastPrompt == Text::npos) return line;
  std::size_t beforeRun = line.find_last_not_of(L'>', lastPrompt);
  return beforeRun == Text::npos ? line : line.substr(beforeRun + 1);
}

ReplyEffects parseReplyLines(ControlState& state, const wchar_t* text) {
  Parse p{state, {}};
  parseCompleteLines(p, Text(text));
  return p.effects;
}

ReplyEffects parseDeliveredText(ControlState& state, PartialReplyLine& partial, const wchar_t* text) {
  Parse p{state, {}};
  // Zero bytes alone make an empty delivery: it changes nothing, not even the
  // wait for the LF of a CR that ended the delivery before it.
  if (*text == 0) return p.effects;
  Text rest(text);
  // The LF of a CR LF that the last delivery ended between.
  if (partial.lineFeedMayFollow && !rest.empty() && rest.front() == L'\n') rest.remove_prefix(1);
  partial.lineFeedMayFollow = false;
  if (partial.dropping) {
    std::size_t cr = rest.find(L'\r');
    if (cr == Text::npos) {
      partial.droppedUnits += rest.size();
      return p.effects;
    }
    partial.droppedUnits += cr;
    partial.dropping = false;
    rest = afterLineEnd(rest, cr, partial);
  } else if (partial.units > 0) {
    rest = finishKeptLine(p, partial, rest);
  }
  std::size_t parsed = parseCompleteLines(p, rest);
  if (parsed > 0 && parsed == rest.size() && rest.back() == L'\r') partial.lineFeedMayFollow = true;
  keepUnfinishedLine(partial, rest.substr(parsed));
  return p.effects;
}
