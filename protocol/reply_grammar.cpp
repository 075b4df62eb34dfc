#include "protocol/reply_grammar.h"

#include <string_view>

#include "protocol/bounded_text.h"
#include "protocol/number_text.h"

namespace {
using Text = std::wstring_view;
using Parse = ReplyParse;

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

// Numbers are read in place, however many blanks stand in front of them.
int numberIn(Text text) { return parseDecimal(text.data(), text.data() + text.size()); }

// Where a value reply puts a brightness or contrast trackbar, which holds
// 0..100. The value is then what the unit has, so it also counts as the last
// value sent: the operator's next move to any other position goes out.
int trackbarPosition(Text text) {
  int value = numberIn(text);
  if (value < 0) return 0;
  return value > 100 ? 100 : value;
}

void dottedQuadIn(Text text, int out[4]) { parseDottedQuad(text.data(), text.data() + text.size(), out); }


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

void storeVersion(wchar_t (&field)[kVersionUnits], Text trimmed) {
  Text value = trimmed.empty() ? trimmed : trimmed.substr(1);
  std::size_t length = value.size() < kVersionUnits - 1 ? value.size() : kVersionUnits - 1;
  value.copy(field, length);
  field[length] = 0;
}

// Word lines: the handlers take the rest of the line after the key's blank.
void onAudioWord(Parse& p, Text rest) { matchAudioName(p, firstWord(rest)); }
void onHdmiHdbaseTWord(Parse& p, Text) { storeAudioInput(p, 9); }
void onSourceWord(Parse& p, Text rest) { matchVideoName(p, rest); }
void onHdmiWord(Parse& p, Text rest) { storeOutputMute(p, rest, p.state.hdmiAudioMuted); }
void onAnalogWord(Parse& p, Text rest) { storeOutputMute(p, rest, p.state.analogAudioMuted); }
void onMuteWord(Parse& p, Text rest) {
  p.state.allAudioMuted = firstWord(rest) == L"ON" ? 1 : 0;
  p.effects.indicatorsChanged = true;
}
void onOutputWord(Parse& p, Text rest) {
  int r = matchResolution(rest);
  if (r < 0) return;
  p.state.outputResolution = r;
  p.effects.resolutionChanged = true;
}
void onBellWord(Parse& p, Text rest) { storeBuzzer(p, rest == L"On"); }

// Keyed lines: the handlers take the remainder after the colon; most read it
// without its leading blanks.
void onAudioInputKey(Parse& p, Text remainder) {
  Text trimmed = trimLeadingBlanks(remainder);
  if (trimmed == L"AudioHDMI&HDBaseT") {
    storeAudioInput(p, 9);
    return;
  }
  std::size_t blank = trimmed.find(L' ');
  matchAudioName(p, blank == Text::npos ? trimmed : trimmed.substr(blank + 1));
}
void onVideoInputKey(Parse& p, Text remainder) { matchVideoName(p, trimLeadingBlanks(remainder)); }
void onOutputResolutionKey(Parse& p, Text remainder) {
  int r = matchResolution(trimLeadingBlanks(remainder));
  if (r < 0) return;
  p.state.outputResolution = r;
  p.effects.resolutionItem = r;
  p.effects.resolutionChanged = true;
}
// Only the first value reply after the window's query moves its trackbar.
void takeValueReply(bool& queryPending, bool& moved, int& position, int& lastSent, Text remainder) {
  if (!queryPending) return;
  queryPending = false;
  moved = true;
  position = lastSent = trackbarPosition(trimLeadingBlanks(remainder));
}
void onBrightnessValueKey(Parse& p, Text remainder) {
  takeValueReply(p.state.brightnessQueryPending, p.effects.brightnessMoved, p.effects.brightnessPosition,
                 p.state.lastBrightnessSent, remainder);
}
void onContrastValueKey(Parse& p, Text remainder) {
  takeValueReply(p.state.contrastQueryPending, p.effects.contrastMoved, p.effects.contrastPosition,
                 p.state.lastContrastSent, remainder);
}
void onBellStatusKey(Parse& p, Text remainder) { storeBuzzer(p, trimLeadingBlanks(remainder) == L"ON"); }
// The network values are read from the remainder as it stands: the number
// conversion skips leading white space itself.
void onIpAddressKey(Parse& p, Text remainder) {
  dottedQuadIn(remainder, p.state.ipAddress);
  p.effects.networkChanged = true;
}
void onIpPortKey(Parse& p, Text remainder) {
  p.state.ipPort = numberIn(remainder);
  p.effects.networkChanged = true;
}
void onSubnetMaskKey(Parse& p, Text remainder) {
  dottedQuadIn(remainder, p.state.subnetMask);
  p.effects.networkChanged = true;
}
void onGatewayKey(Parse& p, Text remainder) {
  dottedQuadIn(remainder, p.state.gatewayAddress);
  p.effects.networkChanged = true;
}
void onLpmcuVersionKey(Parse& p, Text remainder) { storeVersion(p.state.lpmcuVersion, trimLeadingBlanks(remainder)); }
void onFpmcuVersionKey(Parse& p, Text remainder) { storeVersion(p.state.fpmcuVersion, trimLeadingBlanks(remainder)); }
void onFlmcuVersionKey(Parse& p, Text remainder) { storeVersion(p.state.flmcuVersion, trimLeadingBlanks(remainder)); }
}  // namespace

// Word lines: a key, a blank and the rest. Tried in this order.
const ReplyKey kWordLineKeys[kWordLineKeyCount] = {
    {L"AUDIO", L"AUDIO 5", L"the audio input: the first word of the rest names it (1 to 9, HDBaseT)", onAudioWord},
    {L"HDMI&HDBaseT", L"HDMI&HDBaseT", L"the audio input becomes HDMI/HDBaseT, whatever follows the key",
     onHdmiHdbaseTWord},
    {L"SOURCE", L"SOURCE HDMI2", L"the video input: the whole rest names it", onSourceWord},
    {L"HDMI", L"HDMI AUDIO MUTE ON",
     L"the HDMI output's mute: AUDIO MUTE ON mutes; AUDIO MUTE and anything else unmutes", onHdmiWord},
    {L"Analog", L"Analog AUDIO MUTE OFF", L"the analog output's mute, read as for HDMI", onAnalogWord},
    {L"MUTE", L"MUTE ON", L"the mute of all outputs: ON as the first word of the rest mutes, anything else unmutes",
     onMuteWord},
    {L"OUTPUT", L"OUTPUT 1920x1080@60Hz",
     L"the output resolution, shown in the Current resolution line; the list keeps its item", onOutputWord},
    {L"Bell", L"Bell On", L"the buzzer: On enables it, anything else disables it; the menu item follows",
     onBellWord},
};

// Keyed lines: a key, a colon and a remainder. Tried in this order.
const ReplyKey kKeyedLineKeys[kKeyedLineKeyCount] = {
    {L"Audio Input", L"Audio Input: Audio 4",
     L"the audio input: the word after the first blank names it, or AudioHDMI&HDBaseT", onAudioInputKey},
    {L"Video Input", L"Video Input: HDMI1", L"the video input", onVideoInputKey},
    {L"Output Resolution", L"Output Resolution: 1920x1080@60Hz",
     L"the output resolution, and the resolution list's item", onOutputResolutionKey},
    {L"Brightness Value", L"Brightness Value: 50",
     L"the brightness trackbar and the last brightness sent, for the first such reply after the window asked",
     onBrightnessValueKey},
    {L"Contrast Value", L"Contrast Value: 50",
     L"the contrast trackbar and the last contrast sent, for the first such reply after the window asked",
     onContrastValueKey},
    {L"Bell Status", L"Bell Status: ON", L"the buzzer: ON enables it, anything else disables it", onBellStatusKey},
    {L"SIPR", L"SIPR: 192.168.1.20", L"the unit's IP address, shown in Network Settings", onIpAddressKey},
    {L"SPORT", L"SPORT: 1024", L"the unit's IP port, shown in Network Settings", onIpPortKey},
    {L"SUBR", L"SUBR: 255.255.255.0", L"the unit's subnet mask, shown in Network Settings", onSubnetMaskKey},
    {L"GAR", L"GAR: 192.168.1.1", L"the unit's gateway address, shown in Network Settings", onGatewayKey},
    {L"LPMCU SW Versions", L"LPMCU SW Versions: V1.02",
     L"the LPMCU firmware version: at most 7 characters after the first", onLpmcuVersionKey},
    {L"FPMCU SW Versions", L"FPMCU SW Versions: V2.10", L"the FPMCU firmware version, read as the LPMCU's",
     onFpmcuVersionKey},
    {L"FLMCU SW Versions", L"FLMCU SW Versions: V3.05", L"the FLMCU firmware version, read as the LPMCU's",
     onFlmcuVersionKey},
};

namespace {
// The first row whose key equals the line's key handles the line; a key that
// matches no row is skipped.
template <std::size_t N>
void dispatch(const ReplyKey (&rows)[N], Parse& p, Text key, Text value) {
  for (const ReplyKey& row : rows) {
    if (key != row.key) continue;
    row.handle(p, value);
    return;
  }
}

void handleWordLine(Parse& p, Text line) {
  Split words = splitAtBlank(line);
  dispatch(kWordLineKeys, p, words.head, words.tail);
}

void handleKeyedLine(Parse& p, Text line, std::size_t colon) {
  dispatch(kKeyedLineKeys, p, line.substr(0, colon), line.substr(colon + 1));
}
}  // namespace

void readReplyLine(ReplyParse& p, std::wstring_view line) {
  std::size_t start = line.find_first_not_of(L'>');
  if (start == Text::npos) return;
  line = line.substr(start);
  std::size_t colon = line.find(L':');
  if (colon != Text::npos)
    handleKeyedLine(p, line, colon);
  else
    handleWordLine(p, line);
}
