#include "protocol/control_state.h"

#include <initializer_list>

ControlState controlState;

const wchar_t videoInputNames[kVideoInputCount][kInputNameUnits] = {
    L"CV", L"YPbPr", L"VGA1", L"VGA2", L"HDMI1", L"HDMI2", L"HDMI3", L"HDBaseT", L"DisplayPort"};

const wchar_t audioInputNames[kAudioInputCount][kInputNameUnits] = {
    L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"HDBaseT"};

const wchar_t resolutionTable[kResolutionCount][kResolutionNameUnits] = {
    L"640x480@60Hz",   L"800x600@60Hz",   L"1024x768@60Hz",  L"1280x720@60Hz",
    L"1280x800@60Hz",  L"1280x960@60Hz",  L"1280x1024@60Hz", L"1360x768@60Hz",
    L"1366x768@60Hz",  L"1400x1050@60Hz", L"1440x900@60Hz",  L"1600x1200@60Hz",
    L"1680x1050@60Hz", L"1920x1080@50Hz", L"1920x1080@60Hz", L"1920x1200@60Hz"};

int videoInputIndexOfName(int entry) {
  if (entry == 7) return 8;   // "HDBaseT"
  if (entry == 8) return 7;   // "DisplayPort"
  return entry;
}

void forgetReportedInputs(ControlState& state) {
  state.videoInput = -1;
  state.previousVideoInput = -1;
  state.audioInput = -1;
  state.previousAudioInput = -1;
}

void applyStartValues(ControlState& state) {
  forgetReportedInputs(state);
  state.lastBrightnessSent = 0;
  state.lastContrastSent = 0;
  for (int& level : state.audioInputLevel) level = 0;
}

void forgetReportedMutes(ControlState& state) {
  state.hdmiAudioMuted = 0;
  state.analogAudioMuted = 0;
  state.allAudioMuted = 0;
}

void forgetNetworkSettings(ControlState& state) {
  for (int i = 0; i < 4; ++i) {
    state.ipAddress[i] = 0;
    state.subnetMask[i] = 0;
    state.gatewayAddress[i] = 0;
  }
  state.ipPort = 0;
}

namespace {
bool inRangeOrUnknown(int value, int count) { return value == -1 || (value >= 0 && value < count); }

bool terminatedWithin(const wchar_t (&text)[kVersionUnits]) {
  for (wchar_t unit : text)
    if (unit == 0) return true;
  return false;
}
}  // namespace

bool controlStateInvariantsHold(const ControlState& state) {
  if (!inRangeOrUnknown(state.videoInput, kVideoInputCount) ||
      !inRangeOrUnknown(state.previousVideoInput, kVideoInputCount) ||
      !inRangeOrUnknown(state.audioInput, kAudioInputCount) ||
      !inRangeOrUnknown(state.previousAudioInput, kAudioInputCount))
    return false;
  if (state.outputResolution < 0 || state.outputResolution >= kResolutionCount) return false;
  for (int level : state.audioInputLevel)
    if (level < 0 || level > 7) return false;
  if (state.lastBrightnessSent < 0 || state.lastBrightnessSent > 100) return false;
  if (state.lastContrastSent < 0 || state.lastContrastSent > 100) return false;
  for (int muted : {state.hdmiAudioMuted, state.analogAudioMuted, state.allAudioMuted})
    if (muted != 0 && muted != 1) return false;
  return terminatedWithin(state.lpmcuVersion) && terminatedWithin(state.fpmcuVersion) &&
         terminatedWithin(state.flmcuVersion);
}
