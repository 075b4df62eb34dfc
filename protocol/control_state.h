#pragma once
// The program's one record of what it knows about the unit: its last reported
// settings, the last values sent, and the link the commands take. Only the UI
// thread touches it; the serial reader hands text over with a synchronous
// message, so no lock is needed. The windows that show it keep their own
// handles.
#include <cstddef>
#include <cstdint>

enum class LinkMode : std::uint8_t { TcpIp = 0, Serial = 1 };

constexpr int kVideoInputCount = 9;
constexpr int kAudioInputCount = 10;
constexpr int kResolutionCount = 16;
constexpr int kVersionUnits = 8;   // 7 characters and the terminator

struct ControlState {
  // Routing, learned from replies (-1 until a reply names one).
  int videoInput = -1;
  int previousVideoInput = -1;
  int audioInput = -1;
  int previousAudioInput = -1;
  int audioInputLevel[kAudioInputCount] = {};   // last level sent per input

  // Audio outputs (0 or 1, as the unit reported them).
  int hdmiAudioMuted = 0;
  int analogAudioMuted = 0;
  int allAudioMuted = 0;

  // Output video.
  int outputResolution = 0;                     // always 0..15
  int lastBrightnessSent = 0;
  int lastContrastSent = 0;
  bool brightnessQueryPending = false;
  bool contrastQueryPending = false;

  // Unit features and identity.
  bool buzzerEnabled = false;
  wchar_t lpmcuVersion[kVersionUnits] = {};
  wchar_t fpmcuVersion[kVersionUnits] = {};
  wchar_t flmcuVersion[kVersionUnits] = {};

  // The unit's network settings as last reported (no range check).
  int ipAddress[4] = {};
  int ipPort = 0;
  int subnetMask[4] = {};
  int gatewayAddress[4] = {};

  // Any value but TcpIp sends over the serial link.
  LinkMode linkMode = LinkMode::TcpIp;
};

extern ControlState controlState;

// Start-up's values for the selection and last-sent fields.
void applyStartValues(ControlState& state);

// The inputs a unit reported belong to that unit: on a new connection (the
// same port may now lead to another unit) and after a factory reset they are
// unknown (-1) until it is asked, so no other unit's inputs show as current.
void forgetReportedInputs(ControlState& state);

// The unit has no mute query: what it reported of its mutes holds only for
// the connection it came on and until a factory reset. Back to the start
// values (not muted), so the toggles ask for a mute and no stale frame shows.
void forgetReportedMutes(ControlState& state);

// The network settings belong to the unit that reported them: after a new
// connection or a factory reset they are unknown until the unit is asked.
// Back to the start values (0.0.0.0, port 0), so no other unit's show.
void forgetNetworkSettings(ControlState& state);

// Checks the invariants of the record (ranges, terminated versions); used by
// tests and the stress runs after hostile input.
bool controlStateInvariantsHold(const ControlState& state);

// Name tables: the names the unit uses on the wire.
constexpr std::size_t kInputNameUnits = 24;
constexpr std::size_t kResolutionNameUnits = 16;
extern const wchar_t videoInputNames[kVideoInputCount][kInputNameUnits];
extern const wchar_t audioInputNames[kAudioInputCount][kInputNameUnits];
extern const wchar_t resolutionTable[kResolutionCount][kResolutionNameUnits];

// Entry i of videoInputNames names video input index videoInputIndexOfName(i):
// the last two entries are swapped against the index order.
int videoInputIndexOfName(int entry);
