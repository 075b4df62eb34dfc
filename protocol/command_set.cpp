#include "protocol/command_set.h"

#include "protocol/command_texts.h"
#include "protocol/control_state.h"

namespace {
CommandOutput commandOutput = {nullptr, nullptr, nullptr};

// The common sequence of every command: hand the text to the link, whatever
// state it is in, then echo it. A command that did not go out (no link was
// open, as after a lost link with a settings window still open, or its write
// failed) is not shown as sent: the output says so instead of the echo. False
// for such a command.
bool send(CommandText& command) {
  Transmitted result = Transmitted::NoLink;
  if (commandOutput.transmit != nullptr) result = commandOutput.transmit(command.text, command.size);
  if (result != Transmitted::Sent) {
    if (commandOutput.notSent != nullptr) commandOutput.notSent(command.text, result);
    return false;
  }
  appendEchoLineEnd(command);
  if (commandOutput.echo != nullptr) commandOutput.echo(command.text);
  return true;
}

template <typename... Args>
bool sendValue(CommandId id, Args... args) {
  CommandText command;
  formatCommand(command, id, args...);
  return send(command);
}

template <typename... Args>
int sendCommand(CommandId id, Args... args) {
  sendValue(id, args...);
  return 0;
}

wchar_t directionOf(bool plus) { return plus ? L'+' : L'-'; }

// Brightness and contrast go out with three digits, padded by "0" texts.
const wchar_t* hundredsPad(int value) { return value >= 100 ? L"" : L"0"; }
const wchar_t* tensPad(int value) { return value >= 10 ? L"" : L"0"; }
}  // namespace

void setCommandOutput(const CommandOutput& output) { commandOutput = output; }

int readVideoInput() { return sendCommand(CommandId::ReadVideoInput); }
int readAudioInput() { return sendCommand(CommandId::ReadAudioInput); }
int selectVideoInput(int index) { return sendCommand(CommandId::SelectVideoInput, index); }
int selectOutputResolution(int index) { return sendCommand(CommandId::SelectOutputResolution, index); }
int readOutputResolution() { return sendCommand(CommandId::ReadOutputResolution); }
int setIpAddress(int a, int b, int c, int d) { return sendCommand(CommandId::SetIpAddress, a, b, c, d); }
int readIpAddress() { return sendCommand(CommandId::ReadIpAddress); }
int setIpPort(int port) { return sendCommand(CommandId::SetIpPort, port); }
int readIpPort() { return sendCommand(CommandId::ReadIpPort); }
int setSubnetMask(int a, int b, int c, int d) { return sendCommand(CommandId::SetSubnetMask, a, b, c, d); }
int readSubnetMask() { return sendCommand(CommandId::ReadSubnetMask); }
int setGatewayAddress(int a, int b, int c, int d) {
  return sendCommand(CommandId::SetGatewayAddress, a, b, c, d);
}
int readGatewayAddress() { return sendCommand(CommandId::ReadGatewayAddress); }
int restoreDefaults() { return sendCommand(CommandId::RestoreDefaults); }
int copyEdid() { return sendCommand(CommandId::CopyEdid); }
int setBuzzer(bool on) { return sendCommand(on ? CommandId::BuzzerOn : CommandId::BuzzerOff); }
int readBuzzerStatus() { return sendCommand(CommandId::ReadBuzzerStatus); }
int readVersions() { return sendCommand(CommandId::ReadVersions); }
int stepVerticalStart(bool plus) { return sendCommand(CommandId::StepVerticalStart, directionOf(plus)); }
int stepHorizontalStart(bool plus) { return sendCommand(CommandId::StepHorizontalStart, directionOf(plus)); }
int stepHorizontalTotal(bool plus) { return sendCommand(CommandId::StepHorizontalTotal, directionOf(plus)); }
int autoAdjust() { return sendCommand(CommandId::AutoAdjust); }
int readBrightness() { return sendCommand(CommandId::ReadBrightness); }
int readContrast() { return sendCommand(CommandId::ReadContrast); }
int selectAudioInput(int index) { return sendCommand(CommandId::SelectAudioInput, index); }

// A value is remembered as sent unless its write failed: the same value
// asked for again after a reconnect then goes out.
int setBrightness(int value) {
  if (value == controlState.lastBrightnessSent) return 0;
  if (sendValue(CommandId::SetBrightness, hundredsPad(value), tensPad(value), value))
    controlState.lastBrightnessSent = value;
  return 0;
}

int setContrast(int value) {
  if (value == controlState.lastContrastSent) return 0;
  if (sendValue(CommandId::SetContrast, hundredsPad(value), tensPad(value), value))
    controlState.lastContrastSent = value;
  return 0;
}

int setAudioInputLevel(int index, int level) {
  if (level == controlState.audioInputLevel[index]) return 0;
  if (sendValue(CommandId::SetAudioInputLevel, index, level)) controlState.audioInputLevel[index] = level;
  return 0;
}

int stepOutputVolume(bool analog, bool up) {
  return sendCommand(CommandId::StepOutputVolume, analog ? L'A' : L'B', directionOf(up));
}

int toggleOutputMute(int which) {
  // Always the opposite of the state the unit last reported.
  const ControlState& s = controlState;
  if (which == 0) return sendCommand(s.hdmiAudioMuted == 1 ? CommandId::OpenHdmiMute : CommandId::CloseHdmiMute);
  if (which == 1)
    return sendCommand(s.analogAudioMuted == 1 ? CommandId::OpenAnalogMute : CommandId::CloseAnalogMute);
  return sendCommand(s.allAudioMuted == 1 ? CommandId::MuteAllOff : CommandId::MuteAllOn);
}
