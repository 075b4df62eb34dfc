#include "command_rows.h"

#include "links/single_byte_text.h"
#include "protocol/command_set.h"
#include "protocol/control_state.h"

// In the order of the command table; each example is a value the panel can
// send, and the unit named in it answers it.
const CommandRow kCommandRows[kCommandRowCount] = {
    {CommandId::ReadVideoInput, "readVideoInput()", nullptr, {}, "none", "R SOURCE.", [] { return readVideoInput(); }},
    {CommandId::ReadAudioInput, "readAudioInput()", nullptr, {}, "none", "R AUDIO.", [] { return readAudioInput(); }},
    {CommandId::SelectVideoInput, "selectVideoInput(3)", "a button under \"Video Input Select\"", {"n"},
     "n: video input 0 to 8 ([Video inputs](#video-inputs))", "S SOURCE 3.", [] { return selectVideoInput(3); }},
    {CommandId::SelectOutputResolution, "selectOutputResolution(12)",
     "\"Output Video Settings\": \"Set\", with the resolution chosen in its list", {"m"},
     "m: resolution 0 to 15 as one upper-case hex digit ([Resolutions](#resolutions))", "S OUTPUT C!",
     [] { return selectOutputResolution(12); }},
    {CommandId::ReadOutputResolution, "readOutputResolution()", "opening \"Output Video Settings\"", {}, "none",
     "R OUTPUT!", [] { return readOutputResolution(); }},
    {CommandId::SetIpAddress, "setIpAddress(192, 168, 1, 20)",
     "\"Network Settings\": \"Set\" of the row \"Set IP address:\"", {"a", "b", "c", "d"},
     "a, b, c, d: the four octets, 0 to 255 each", "<SIPR[192-168-1-20]>", [] { return setIpAddress(192, 168, 1, 20); }},
    {CommandId::ReadIpAddress, "readIpAddress()", nullptr, {}, "none", "<SIPR>", [] { return readIpAddress(); }},
    {CommandId::SetIpPort, "setIpPort(1024)", "\"Network Settings\": \"Set\" of the row \"Set IP port:\"", {"p"},
     "p: 0 to 65535", "<SPORT[1024]>", [] { return setIpPort(1024); }},
    {CommandId::ReadIpPort, "readIpPort()", nullptr, {}, "none", "<SPORT>", [] { return readIpPort(); }},
    {CommandId::SetSubnetMask, "setSubnetMask(255, 255, 255, 0)",
     "\"Network Settings\": \"Set\" of the row \"Set subnet mask:\"", {"a", "b", "c", "d"},
     "a, b, c, d: the four octets, 0 to 255 each", "<SUBR[255-255-255-0]>",
     [] { return setSubnetMask(255, 255, 255, 0); }},
    {CommandId::ReadSubnetMask, "readSubnetMask()", nullptr, {}, "none", "<SUBR>", [] { return readSubnetMask(); }},
    {CommandId::SetGatewayAddress, "setGatewayAddress(192, 168, 1, 1)",
     "\"Network Settings\": \"Set\" of the row \"Set gateway address:\"", {"a", "b", "c", "d"},
     "a, b, c, d: the four octets, 0 to 255 each", "<GAR[192-168-1-1]>",
     [] { return setGatewayAddress(192, 168, 1, 1); }},
    {CommandId::ReadGatewayAddress, "readGatewayAddress()", nullptr, {}, "none", "<GAR>",
     [] { return readGatewayAddress(); }},
    {CommandId::RestoreDefaults, "restoreDefaults()", "\"File\" > \"Restore Default Settings\"", {}, "none",
     "<DEFAULT>", [] { return restoreDefaults(); }},
    {CommandId::CopyEdid, "copyEdid()", "\"Settings\" > \"Copy EDID From Display\"", {}, "none", "<COPYEDID>",
     [] { return copyEdid(); }},
    {CommandId::BuzzerOn, "setBuzzer(true)", "\"Settings\" > \"Enable Buzzer\" (the buzzer last reported off)", {},
     "none", "<BellOn>", [] { return setBuzzer(true); }},
    {CommandId::BuzzerOff, "setBuzzer(false)",
     "\"Settings\" > \"Disable Buzzer\" (the buzzer last reported on); the first command on connecting", {}, "none",
     "<BellOff>", [] { return setBuzzer(false); }},
    {CommandId::ReadBuzzerStatus, "readBuzzerStatus()", nullptr, {}, "none", "<BellStatus>",
     [] { return readBuzzerStatus(); }},
    {CommandId::ReadVersions, "readVersions()", nullptr, {}, "none", "<SW>", [] { return readVersions(); }},
    {CommandId::StepVerticalStart, "stepVerticalStart(true)",
     "\"VGA Image Adjustments\": \"Up\" (+), \"Down\" (-)", {"s"}, "s: + or -", "VStart+*",
     [] { return stepVerticalStart(true); }},
    {CommandId::StepHorizontalStart, "stepHorizontalStart(false)",
     "\"VGA Image Adjustments\": \"Left\" (+), \"Right\" (-)", {"s"}, "s: + or -", "HStart-*",
     [] { return stepHorizontalStart(false); }},
    {CommandId::StepHorizontalTotal, "stepHorizontalTotal(true)",
     "\"VGA Image Adjustments\": \"Grow\" (+), \"Shrink\" (-)", {"s"}, "s: + or -", "HTotal+*",
     [] { return stepHorizontalTotal(true); }},
    {CommandId::AutoAdjust, "autoAdjust()", "\"VGA Image Adjustments\": \"Auto\"", {}, "none", "Auto Adjust*",
     [] { return autoAdjust(); }},
    {CommandId::SetBrightness, "setBrightness(5)", "\"Output Video Settings\": the trackbar under \"Set brightness\"",
     {"", "", "vvv"}, "vvv: 0 to 100 in three digits; not sent when equal to the last value sent",
     "Brightness 005*", [] { return setBrightness(5); }},
    {CommandId::ReadBrightness, "readBrightness()", "opening \"Output Video Settings\"", {}, "none", "Brightness*",
     [] { return readBrightness(); }},
    {CommandId::SetContrast, "setContrast(50)", "\"Output Video Settings\": the trackbar under \"Set contrast\"",
     {"", "", "vvv"}, "vvv: 0 to 100 in three digits; not sent when equal to the last value sent", "Contrast 050*",
     [] { return setContrast(50); }},
    {CommandId::ReadContrast, "readContrast()", "opening \"Output Video Settings\"", {}, "none", "Contrast*",
     [] { return readContrast(); }},
    {CommandId::SelectAudioInput, "selectAudioInput(4)", "a button under \"Audio Input Select\"", {"n"},
     "n: audio input 0 to 9 ([Audio inputs](#audio-inputs))", "S AUDIO 4.", [] { return selectAudioInput(4); }},
    {CommandId::SetAudioInputLevel, "setAudioInputLevel(2, 5)", "the level trackbar beside each audio input button",
     {"n", "l"}, "n: audio input 0 to 9; l: level 0 to 7, not sent when equal to the last level sent for n",
     "A 2 INPUT 5%", [] { return setAudioInputLevel(2, 5); }},
    {CommandId::StepOutputVolume, "stepOutputVolume(false, true)",
     "\"HDMI Vol+\" (B+), \"HDMI Vol-\" (B-), \"Analog Vol+\" (A+), \"Analog Vol-\" (A-)", {"o", "s"},
     "o: B (HDMI) or A (analog); s: + (up) or - (down)", "B+ OUTPUT%", [] { return stepOutputVolume(false, true); }},
    {CommandId::OpenHdmiMute, "toggleOutputMute(0)", "\"HDMI Mute\" while the HDMI output was last reported muted", {},
     "none", "OPEN 1%",
     [] {
       controlState.hdmiAudioMuted = 1;
       return toggleOutputMute(0);
     }},
    {CommandId::CloseHdmiMute, "toggleOutputMute(0)", "\"HDMI Mute\" otherwise", {}, "none", "CLOSE 1%",
     [] { return toggleOutputMute(0); }},
    {CommandId::OpenAnalogMute, "toggleOutputMute(1)",
     "\"Analog Mute\" while the analog output was last reported muted", {}, "none", "OPEN 0%",
     [] {
       controlState.analogAudioMuted = 1;
       return toggleOutputMute(1);
     }},
    {CommandId::CloseAnalogMute, "toggleOutputMute(1)", "\"Analog Mute\" otherwise", {}, "none", "CLOSE 0%",
     [] { return toggleOutputMute(1); }},
    {CommandId::MuteAllOff, "toggleOutputMute(2)", "\"Mute All\" while all outputs were last reported muted", {},
     "none", "MUTE OFF%",
     [] {
       controlState.allAudioMuted = 1;
       return toggleOutputMute(2);
     }},
    {CommandId::MuteAllOn, "toggleOutputMute(2)", "\"Mute All\" otherwise", {}, "none", "MUTE ON%",
     [] { return toggleOutputMute(2); }},
};

WireCommand wireCommand(const wchar_t* text, int transmitCount) {
  WireCommand wire;
  for (const wchar_t* unit = text; *unit != 0; ++unit) wire.text += static_cast<char>(*unit);
  wire.transmitCount = transmitCount;
  // The links' own conversion: N bytes, the text and then zeros; the serial
  // link writes all but the last.
  std::string bytes(static_cast<std::size_t>(transmitCount), '\0');
  toSingleByte(text, transmitCount, bytes.data());
  wire.tcpBytes = bytes;
  wire.serialBytes = bytes.substr(0, bytes.size() - 1);
  return wire;
}

namespace {
std::vector<WireCommand>* captured = nullptr;

Transmitted capture(const wchar_t* text, int size) {
  captured->push_back(wireCommand(text, size));
  return Transmitted::Sent;
}
}  // namespace

std::vector<WireCommand> captureCommands(int (*run)()) {
  std::vector<WireCommand> commands;
  const ControlState saved = controlState;
  controlState = ControlState{};
  applyStartValues(controlState);
  captured = &commands;
  setCommandOutput(CommandOutput{capture, nullptr, nullptr});
  run();
  setCommandOutput(CommandOutput{nullptr, nullptr, nullptr});
  captured = nullptr;
  controlState = saved;
  return commands;
}
