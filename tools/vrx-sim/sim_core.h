#pragma once
// The simulated VRX-2600: its settings and how it answers one command.
// No I/O here, so the same code runs behind the pty, behind TCP and in tests.
#include <string>
#include <vector>

struct SimState {
  int videoInput;          // 0..8, the index used in "S SOURCE n."
  int audioInput;          // 0..9, 9 is the combined HDMI/HDBaseT input
  int inputLevels[10];     // 0..7 per audio input
  int hdmiVolume;          // 0..kMaxVolume
  int analogVolume;
  bool hdmiMuted;
  bool analogMuted;
  bool allMuted;
  int resolution;          // 0..15
  int brightness;          // 0..100
  int contrast;            // 0..100
  int vgaVStart;           // offsets from the auto-adjusted position
  int vgaHStart;
  int vgaHTotal;
  bool buzzer;
  int ip[4];
  int port;
  int mask[4];
  int gateway[4];
  std::string lpmcuVersion;
  std::string fpmcuVersion;
  std::string flmcuVersion;
};

constexpr int kMaxVolume = 60;
constexpr int kMaxVgaOffset = 100;

// The state the unit leaves the factory with, and returns to on "<DEFAULT>".
SimState factorySimState();

// Applies one command (as cut by CommandSplitter, terminator included; free
// text without its CR LF) and returns the reply lines, each starting with ">"
// and ending with CR LF. An empty command (a blank line) gets no reply.
std::vector<std::string> handleCommand(SimState& state, const std::string& command);

// The names the unit uses for its inputs and resolutions in replies.
const char* videoInputName(int index);     // index 0..8
const char* audioInputName(int index);     // index 0..9, "3" for 2, "HDMI&HDBaseT" for 9
const char* resolutionName(int index);     // index 0..15
