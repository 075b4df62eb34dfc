#pragma once
// The unit's reply grammar: splits a received text into lines, recognises word
// lines and keyed lines, and stores what they report in ControlState. The
// effects on controls are made through hooks, so this runs without a window.
#include "protocol/control_state.h"

struct ReplyHooks {
  void (*selectResolutionItem)(int index) = nullptr;      // "Output Resolution"
  void (*setBrightnessPosition)(int value) = nullptr;     // pending "Brightness Value"
  void (*setContrastPosition)(int value) = nullptr;       // pending "Contrast Value"
  void (*updateBuzzerMenuItem)(bool enabled) = nullptr;   // "Bell", "Bell Status"
};

struct ReplyChanges {
  bool indicatorsChanged = false;
  bool resolutionChanged = false;
  bool networkChanged = false;
};

// Parses every complete line of text (ended by CR) into state. Empty lines
// and lines made only of ">" are skipped.
ReplyChanges parseReplyLines(ControlState& state, const wchar_t* text, const ReplyHooks& hooks);
