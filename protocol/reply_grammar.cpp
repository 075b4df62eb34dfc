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
      p.effects.brightnessPosition = numberIn(trimmed);
    }
  } else if (key == L"Contrast Value") {
    if (s.contrastQueryPending) {
      s.contrastQueryPending = false;
      p.effects.contrastMoved = true;
      p.effects.contrastPosition = numberIn(trimmed);
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
}  // namespace

ReplyEffects parseReplyLines(ControlState& state, const wchar_t* text) {
  Parse p{state, {}};
  Text remaining(text);
  for (;;) {
    std::size_t cr = remaining.find(L'\r');
    if (cr == Text::npos) break;   // a line without its end is not parsed
    Text line = remaining.substr(0, cr);
    // The unit ends lines with CR LF: skip both (only CR when it is last).
    remaining = remaining.substr(cr + 2 <= remaining.size() ? cr + 2 : remaining.size());
    std::size_t start = line.find_first_not_of(L'>');
    if (start == Text::npos) continue;   // empty or prompt only: nothing to store
    line = line.substr(start);
    std::size_t colon = line.find(L':');
    if (colon != Text::npos)
      handleKeyedLine(p, line, colon);
    else
      handleWordLine(p, line);
  }
  return p.effects;
}
