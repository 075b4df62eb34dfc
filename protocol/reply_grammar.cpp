#include "protocol/reply_grammar.h"

#include <string_view>

#include "protocol/bounded_text.h"
#include "protocol/number_text.h"

namespace {
using Text = std::wstring_view;

// Splits text at its first blank: the word in front and the rest behind it.
// Without a blank both are the whole text, as the unit's word lines expect.
struct Split {
  Text head;
  Text tail;
};
Split splitAtBlank(Text text) {
  std::size_t blank = text.find(L' ');
  if (blank == Text::npos) return {text, text};
  return {text.substr(0, blank), text.substr(blank + 1)};
}

Text firstWord(Text text) {
  std::size_t blank = text.find(L' ');
  return blank == Text::npos ? text : text.substr(0, blank);
}

Text trimLeadingBlanks(Text text) {
  std::size_t first = text.find_first_not_of(L' ');
  return first == Text::npos ? Text() : text.substr(first);
}

// Numbers are read from a terminated copy; a value longer than the copy
// would still be cut only after far more digits than an int holds.
int numberIn(Text text) {
  wchar_t copy[64];
  std::size_t length = text.size() < 63 ? text.size() : 63;
  text.copy(copy, length);
  copy[length] = 0;
  return parseDecimal(copy);
}

// Where a value reply puts a brightness or contrast trackbar, which holds
// 0..100. The value is then what the unit has, so it also counts as the last
// value sent: the operator's next move to any other position goes out.
int trackbarPosition(Text text) {
  int value = numberIn(text);
  if (value < 0) return 0;
  return value > 100 ? 100 : value;
}

void dottedQuadIn(Text text, int out[4]) {
  wchar_t copy[256];
  std::size_t length = text.size() < 255 ? text.size() : 255;
  text.copy(copy, length);
  copy[length] = 0;
  parseDottedQuad(copy, out);
}

struct Parse {
  ControlState& state;
  ReplyEffects effects;
};

void storeAudioInput(Parse& p, int index) {
  p.state.previousAudioInput = p.state.audioInput;
  p.state.audioInput = index;
  p.effects.indicatorsChanged = true;
}

void matchAudioName(Parse& p, Text value) {
  for (int k = 0; k < kAudioInputCount; ++k)
    if (value == audioInputNames[k]) storeAudioInput(p, k);
}

void matchVideoName(Parse& p, Text value) {
  for (int i = 0; i < kVideoInputCount; ++i) {
    if (value != videoInputNames[i]) continue;
    p.state.previousVideoInput = p.state.videoInput;
    p.state.videoInput = videoInputIndexOfName(i);
    p.effects.indicatorsChanged = true;
  }
}

int matchResolution(Text value) {
  for (int r = 0; r < kResolutionCount; ++r)
    if (value == resolutionTable[r]) return r;
  return -1;
}

void storeBuzzer(Parse& p, bool enabled) {
  p.state.buzzerEnabled = enabled;
  p.effects.buzzerItemText = enabled ? L"Disable &Buzzer" : L"Enable &Buzzer";
  p.effects.buzzerItemChecked = enabled;
}

// "HDMI AUDIO MUTE ON": the words after the key must be AUDIO and MUTE.
void storeOutputMute(Parse& p, Text rest, int& field) {
  Split audio = splitAtBlank(rest);
  if (audio.head != L"AUDIO" || audio.head.size() == rest.size()) return;
  Split mute = splitAtBlank(audio.tail);
  if (mute.head != L"MUTE") return;
  bool hasState = mute.head.size() != audio.tail.size();
  field = hasState && mute.tail == L"ON" ? 1 : 0;
  p.effects.indicatorsChanged = true;
}

void handleWordLine(Parse& p, Text line) {
  Split words = splitAtBlank(line);
  Text key = words.head;
  Text rest = words.tail;
  if (key == L"AUDIO") {
    matchAudioName(p, firstWord(rest));
  } else if (key == L"HDMI&HDBaseT") {
    storeAudioInput(p, 9);
  } else if (key == L"SOURCE") {
    matchVideoName(p, rest);
  } else if (key == L"HDMI") {
    storeOutputMute(p, rest, p.state.hdmiAudioMuted);
  } else if (key == L"Analog") {
    storeOutputMute(p, rest, p.state.analogAudioMuted);
  } else if (key == L"MUTE") {
    p.state.allAudioMuted = firstWord(rest) == L"ON" ? 1 : 0;
    p.effects.indicatorsChanged = true;
  } else if (key == L"OUTPUT") {
    int r = matchResolution(rest);
    if (r >= 0) {
      p.state.outputResolution = r;
      p.effects.resolutionChanged = true;
    }
  } else if (key == L"Bell") {
    storeBuzzer(p, rest == L"On");
  }
}

void storeVersion(wchar_t (&field)[kVersionUnits], Text trimmed) {
  Text value = trimmed.empty() ? trimmed : trimmed.substr(1);
  std::size_t length = value.size() < kVersionUnits - 1 ? value.size() : kVersionUnits - 1;
  value.copy(field, length);
  field[length] = 0;
}

void handleKeyedLine(Parse& p, Text line, std::size_t colon) {
  Text key = line.substr(0, colon);
  Text remainder = line.substr(colon + 1);
  Text trimmed = trimLeadingBlanks(remainder);
  ControlState& s = p.state;
  if (key == L"Audio Input") {
    if (trimmed == L"AudioHDMI&HDBaseT") {
      storeAudioInput(p, 9);
    } else {
      std::size_t blank = trimmed.find(L' ');
      matchAudioName(p, blank == Text::npos ? trimmed : trimmed.substr(blank + 1));
    }
  } else if (key == L"Video Input") {
    matchVideoName(p, trimmed);
  } else if (key == L"Output Resolution") {
    int r = matchResolution(trimmed);
    if (r >= 0) {
      s.outputResolution = r;
      p.effects.resolutionItem = r;
      p.effects.resolutionChanged = true;
    }
  } else if (key == L"Brightness Value") {
    if (s.brightnessQueryPending) {
      s.brightnessQueryPending = false;
      p.effects.brightnessMoved = true;
      p.effects.brightnessPosition = s.lastBrightnessSent = trackbarPosition(trimmed);
    }
  } else if (key == L"Contrast Value") {
    if (s.contrastQueryPending) {
      s.contrastQueryPending = false;
      p.effects.contrastMoved = true;
      p.effects.contrastPosition = s.lastContrastSent = trackbarPosition(trimmed);
    }
  } else if (key == L"Bell Status") {
    storeBuzzer(p, trimmed == L"ON");
  } else if (key == L"SIPR") {
    dottedQuadIn(remainder, s.ipAddress);
    p.effects.networkChanged = true;
  } else if (key == L"SPORT") {
    s.ipPort = numberIn(remainder);
    p.effects.networkChanged = true;
  } else if (key == L"SUBR") {
    dottedQuadIn(remainder, s.subnetMask);
    p.effects.networkChanged = true;
  } else if (key == L"GAR") {
    dottedQuadIn(remainder, s.gatewayAddress);
    p.effects.networkChanged = true;
  } else if (key == L"LPMCU SW Versions") {
    storeVersion(s.lpmcuVersion, trimmed);
  } else if (key == L"FPMCU SW Versions") {
    storeVersion(s.fpmcuVersion, trimmed);
  } else if (key == L"FLMCU SW Versions") {
    storeVersion(s.flmcuVersion, trimmed);
  }
}

// One line without its line end: the unit's ">" prompts dropped, then read as
// a keyed or a word line. An empty or prompt-only line holds nothing.
void parseLine(Parse& p, Text line) {
  std::size_t start = line.find_first_not_of(L'>');
  if (start == Text::npos) return;
  line = line.substr(start);
  std::size_t colon = line.find(L':');
  if (colon != Text::npos)
    handleKeyedLine(p, line, colon);
  else
    handleWordLine(p, line);
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
  partial.text[0] = 0;
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
    partial.text[0] = 0;
    partial.dropping = true;
    return;
  }
  unfinished.copy(partial.text + partial.units, unfinished.size());
  partial.units += unfinished.size();
  partial.text[partial.units] = 0;
}
}  // namespace

ReplyEffects parseReplyLines(ControlState& state, const wchar_t* text) {
  Parse p{state, {}};
  parseCompleteLines(p, Text(text));
  return p.effects;
}

ReplyEffects parseDeliveredText(ControlState& state, PartialReplyLine& partial, const wchar_t* text) {
  Parse p{state, {}};
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