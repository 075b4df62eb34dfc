#include "sim_core.h"

#include <optional>

namespace {

using Lines = std::vector<std::string>;

// Reply names in video input index order: the unit numbers DisplayPort 7 and
// HDBaseT 8.
const char* const kVideoNames[9] = {"CV", "YPbPr", "VGA1", "VGA2", "HDMI1",
                                    "HDMI2", "HDMI3", "DisplayPort", "HDBaseT"};
const char* const kAudioNames[10] = {"1", "2", "3", "4", "5",
                                     "6", "7", "8", "9", "HDMI&HDBaseT"};
const char* const kResolutions[16] = {
    "640x480@60Hz",   "800x600@60Hz",   "1024x768@60Hz",  "1280x720@60Hz",
    "1280x800@60Hz",  "1280x960@60Hz",  "1280x1024@60Hz", "1360x768@60Hz",
    "1366x768@60Hz",  "1400x1050@60Hz", "1440x900@60Hz",  "1600x1200@60Hz",
    "1680x1050@60Hz", "1920x1080@50Hz", "1920x1080@60Hz", "1920x1200@60Hz"};

constexpr int kAudioHdmiHdbt = 9;

std::string line(const std::string& text) { return ">" + text + "\r\n"; }

// Commands that change nothing the unit reports get this; it must not look
// like any reply the control panel acts on.
Lines acknowledge() { return {line("OK")}; }

int clamp(int value, int low, int high) {
  return value < low ? low : (value > high ? high : value);
}

// Accepts only what printf's %d makes of a non-negative int: no sign, no
// blanks, no leading zeros. The panel never sends anything else, so anything
// else is a fault worth an error reply.
bool parseDecimal(const std::string& text, int& value) {
  if (text.empty() || text.size() > 9) return false;
  if (text.size() > 1 && text[0] == '0') return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

bool parseInRange(const std::string& text, int low, int high, int& value) {
  return parseDecimal(text, value) && value >= low && value <= high;
}

// Brightness and contrast always come as three digits, "000" to "100".
bool parseThreeDigits(const std::string& text, int& value) {
  if (text.size() != 3) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value <= 100;
}

// "a-b-c-d", each octet 0..255.
bool parseQuad(const std::string& text, int quad[4]) {
  size_t start = 0;
  for (int i = 0; i < 4; ++i) {
    size_t dash = text.find('-', start);
    bool last = (i == 3);
    if (last != (dash == std::string::npos)) return false;
    size_t end = last ? text.size() : dash;
    if (!parseInRange(text.substr(start, end - start), 0, 255, quad[i])) return false;
    start = end + 1;
  }
  return true;
}

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string dottedQuad(const int quad[4]) {
  return std::to_string(quad[0]) + "." + std::to_string(quad[1]) + "." +
         std::to_string(quad[2]) + "." + std::to_string(quad[3]);
}

enum Quad { kIpQuad, kMaskQuad, kGatewayQuad };

int* quadOf(SimState& s, int which) {
  if (which == kIpQuad) return s.ip;
  if (which == kMaskQuad) return s.mask;
  return s.gateway;
}

const char* quadKey(int which) {
  if (which == kIpQuad) return "SIPR";
  if (which == kMaskQuad) return "SUBR";
  return "GAR";
}

// --- Commands without arguments -------------------------------------------

Lines readVideo(SimState& s, int) {
  return {line(std::string("Video Input: ") + kVideoNames[s.videoInput])};
}

Lines readAudio(SimState& s, int) {
  return {line(std::string("Audio Input: Audio") +
               (s.audioInput == kAudioHdmiHdbt ? "" : " ") + kAudioNames[s.audioInput])};
}

Lines readResolution(SimState& s, int) {
  return {line(std::string("Output Resolution: ") + kResolutions[s.resolution])};
}

Lines readQuad(SimState& s, int which) {
  return {line(std::string(quadKey(which)) + ": " + dottedQuad(quadOf(s, which)))};
}

Lines readPort(SimState& s, int) { return {line("SPORT: " + std::to_string(s.port))}; }

Lines restoreDefaults(SimState& s, int) {
  s = factorySimState();
  return acknowledge();
}

Lines copyEdid(SimState&, int) { return acknowledge(); }

Lines setBuzzer(SimState& s, int on) {
  s.buzzer = on != 0;
  return {line(s.buzzer ? "Bell On" : "Bell Off")};
}

Lines readBuzzer(SimState& s, int) {
  return {line(s.buzzer ? "Bell Status: ON" : "Bell Status: OFF")};
}

Lines readVersions(SimState& s, int) {
  return {line("LPMCU SW Versions: " + s.lpmcuVersion),
          line("FPMCU SW Versions: " + s.fpmcuVersion),
          line("FLMCU SW Versions: " + s.flmcuVersion)};
}

Lines stepVStart(SimState& s, int delta) {
  s.vgaVStart = clamp(s.vgaVStart + delta, -kMaxVgaOffset, kMaxVgaOffset);
  return acknowledge();
}

Lines stepHStart(SimState& s, int delta) {
  s.vgaHStart = clamp(s.vgaHStart + delta, -kMaxVgaOffset, kMaxVgaOffset);
  return acknowledge();
}

Lines stepHTotal(SimState& s, int delta) {
  s.vgaHTotal = clamp(s.vgaHTotal + delta, -kMaxVgaOffset, kMaxVgaOffset);
  return acknowledge();
}

Lines autoAdjust(SimState& s, int) {
  s.vgaVStart = s.vgaHStart = s.vgaHTotal = 0;
  return acknowledge();
}

Lines readBrightness(SimState& s, int) {
  return {line("Brightness Value: " + std::to_string(s.brightness))};
}

Lines readContrast(SimState& s, int) {
  return {line("Contrast Value: " + std::to_string(s.contrast))};
}

Lines stepHdmiVolume(SimState& s, int delta) {
  s.hdmiVolume = clamp(s.hdmiVolume + delta, 0, kMaxVolume);
  return acknowledge();
}

Lines stepAnalogVolume(SimState& s, int delta) {
  s.analogVolume = clamp(s.analogVolume + delta, 0, kMaxVolume);
  return acknowledge();
}

Lines setAllMute(SimState& s, int on) {
  s.allMuted = on != 0;
  return {line(s.allMuted ? "MUTE ON" : "MUTE OFF")};
}

Lines setHdmiMute(SimState& s, int on) {
  s.hdmiMuted = on != 0;
  return {line(s.hdmiMuted ? "HDMI AUDIO MUTE ON" : "HDMI AUDIO MUTE OFF")};
}

Lines setAnalogMute(SimState& s, int on) {
  s.analogMuted = on != 0;
  return {line(s.analogMuted ? "Analog AUDIO MUTE ON" : "Analog AUDIO MUTE OFF")};
}

struct FixedCommand {
  const char* text;
  Lines (*run)(SimState&, int);
  int param;
};

const FixedCommand kFixedCommands[] = {
    {"R SOURCE.", readVideo, 0},
    {"R AUDIO.", readAudio, 0},
    {"R OUTPUT!", readResolution, 0},
    {"<SIPR>", readQuad, kIpQuad},
    {"<SPORT>", readPort, 0},
    {"<SUBR>", readQuad, kMaskQuad},
    {"<GAR>", readQuad, kGatewayQuad},
    {"<DEFAULT>", restoreDefaults, 0},
    {"<COPYEDID>", copyEdid, 0},
    {"<BellOn>", setBuzzer, 1},
    {"<BellOff>", setBuzzer, 0},
    {"<BellStatus>", readBuzzer, 0},
    {"<SW>", readVersions, 0},
    {"VStart+*", stepVStart, +1},
    {"VStart-*", stepVStart, -1},
    {"HStart+*", stepHStart, +1},
    {"HStart-*", stepHStart, -1},
    {"HTotal+*", stepHTotal, +1},
    {"HTotal-*", stepHTotal, -1},
    {"Auto Adjust*", autoAdjust, 0},
    {"Brightness*", readBrightness, 0},
    {"Contrast*", readContrast, 0},
    {"A+ OUTPUT%", stepAnalogVolume, +1},
    {"A- OUTPUT%", stepAnalogVolume, -1},
    {"B+ OUTPUT%", stepHdmiVolume, +1},
    {"B- OUTPUT%", stepHdmiVolume, -1},
    {"MUTE ON%", setAllMute, 1},
    {"MUTE OFF%", setAllMute, 0},
    {"OPEN 1%", setHdmiMute, 0},
    {"CLOSE 1%", setHdmiMute, 1},
    {"OPEN 0%", setAnalogMute, 0},
    {"CLOSE 0%", setAnalogMute, 1},
};

// --- Commands with an argument between a fixed prefix and suffix ----------

using ArgResult = std::optional<Lines>;

ArgResult selectVideo(SimState& s, const std::string& arg, int) {
  int index;
  if (!parseInRange(arg, 0, 8, index)) return std::nullopt;
  s.videoInput = index;
  return Lines{line(std::string("SOURCE ") + kVideoNames[index])};
}

ArgResult selectAudio(SimState& s, const std::string& arg, int) {
  int index;
  if (!parseInRange(arg, 0, 9, index)) return std::nullopt;
  s.audioInput = index;
  if (index == kAudioHdmiHdbt) return Lines{line(kAudioNames[index])};
  return Lines{line(std::string("AUDIO ") + kAudioNames[index])};
}

ArgResult selectResolution(SimState& s, const std::string& arg, int) {
  if (arg.size() != 1 || hexDigitValue(arg[0]) < 0) return std::nullopt;
  s.resolution = hexDigitValue(arg[0]);
  return Lines{line(std::string("OUTPUT ") + kResolutions[s.resolution])};
}

ArgResult setQuad(SimState& s, const std::string& arg, int which) {
  int quad[4];
  if (!parseQuad(arg, quad)) return std::nullopt;
  for (int i = 0; i < 4; ++i) quadOf(s, which)[i] = quad[i];
  return readQuad(s, which);
}

ArgResult setPort(SimState& s, const std::string& arg, int) {
  int port;
  if (!parseInRange(arg, 0, 65535, port)) return std::nullopt;
  s.port = port;
  return readPort(s, 0);
}

ArgResult setBrightness(SimState& s, const std::string& arg, int) {
  int value;
  if (!parseThreeDigits(arg, value)) return std::nullopt;
  s.brightness = value;
  return acknowledge();
}

ArgResult setContrast(SimState& s, const std::string& arg, int) {
  int value;
  if (!parseThreeDigits(arg, value)) return std::nullopt;
  s.contrast = value;
  return acknowledge();
}

// "n INPUT level", the middle of "A n INPUT level%".
ArgResult setInputLevel(SimState& s, const std::string& arg, int) {
  const std::string middle = " INPUT ";
  size_t at = arg.find(middle);
  if (at == std::string::npos) return std::nullopt;
  int index, level;
  if (!parseInRange(arg.substr(0, at), 0, 9, index)) return std::nullopt;
  if (!parseInRange(arg.substr(at + middle.size()), 0, 7, level)) return std::nullopt;
  s.inputLevels[index] = level;
  return acknowledge();
}

struct ArgCommand {
  const char* prefix;
  const char* suffix;
  ArgResult (*run)(SimState&, const std::string&, int);
  int param;
};

const ArgCommand kArgCommands[] = {
    {"S SOURCE ", ".", selectVideo, 0},
    {"S AUDIO ", ".", selectAudio, 0},
    {"S OUTPUT ", "!", selectResolution, 0},
    {"<SIPR[", "]>", setQuad, kIpQuad},
    {"<SPORT[", "]>", setPort, 0},
    {"<SUBR[", "]>", setQuad, kMaskQuad},
    {"<GAR[", "]>", setQuad, kGatewayQuad},
    {"Brightness ", "*", setBrightness, 0},
    {"Contrast ", "*", setContrast, 0},
    {"A ", "%", setInputLevel, 0},
};

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool endsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

const ArgCommand* findArgCommand(const std::string& command) {
  for (const ArgCommand& entry : kArgCommands) {
    std::string prefix = entry.prefix, suffix = entry.suffix;
    if (command.size() >= prefix.size() + suffix.size() && startsWith(command, prefix) &&
        endsWith(command, suffix))
      return &entry;
  }
  return nullptr;
}

}  // namespace

SimState factorySimState() {
  SimState s{};
  s.videoInput = 4;  // HDMI1
  s.audioInput = 0;  // audio 1
  for (int& level : s.inputLevels) level = 4;
  s.hdmiVolume = s.analogVolume = kMaxVolume / 2;
  s.resolution = 14;  // 1920x1080@60Hz
  s.brightness = s.contrast = 50;
  s.buzzer = true;
  const int ip[4] = {192, 168, 1, 20}, mask[4] = {255, 255, 255, 0}, gw[4] = {192, 168, 1, 1};
  for (int i = 0; i < 4; ++i) {
    s.ip[i] = ip[i];
    s.mask[i] = mask[i];
    s.gateway[i] = gw[i];
  }
  s.port = 1024;
  s.lpmcuVersion = "V1.02";
  s.fpmcuVersion = "V2.10";
  s.flmcuVersion = "V3.05";
  return s;
}

std::vector<std::string> handleCommand(SimState& state, const std::string& command) {
  if (command.empty()) return {};
  for (const FixedCommand& entry : kFixedCommands)
    if (command == entry.text) return entry.run(state, entry.param);
  if (const ArgCommand* entry = findArgCommand(command)) {
    std::string prefix = entry->prefix, suffix = entry->suffix;
    std::string arg = command.substr(prefix.size(), command.size() - prefix.size() - suffix.size());
    if (ArgResult lines = entry->run(state, arg, entry->param)) return *lines;
    return {line("ERR bad argument")};
  }
  return {line("ERR unknown command")};
}

const char* videoInputName(int index) { return kVideoNames[index]; }
const char* audioInputName(int index) { return kAudioNames[index]; }
const char* resolutionName(int index) { return kResolutions[index]; }
