#pragma once
// The unit's command language: the thirty commands, their format texts and
// transmit counts N. A command is formatted into N + 2 units (room for the
// echo's CR LF) with N as the limit; every unit after the text is zero.
#include <cstddef>

enum class CommandId {
  ReadVideoInput, ReadAudioInput, SelectVideoInput, SelectOutputResolution,
  ReadOutputResolution, SetIpAddress, ReadIpAddress, SetIpPort, ReadIpPort,
  SetSubnetMask, ReadSubnetMask, SetGatewayAddress, ReadGatewayAddress,
  RestoreDefaults, CopyEdid, BuzzerOn, BuzzerOff, ReadBuzzerStatus, ReadVersions,
  StepVerticalStart, StepHorizontalStart, StepHorizontalTotal, AutoAdjust,
  SetBrightness, ReadBrightness, SetContrast, ReadContrast, SelectAudioInput,
  SetAudioInputLevel, StepOutputVolume, OpenHdmiMute, CloseHdmiMute,
  OpenAnalogMute, CloseAnalogMute, MuteAllOff, MuteAllOn,
  Count
};

struct CommandSpec {
  const wchar_t* format;
  int transmitCount;   // N
};

extern const CommandSpec commandTable[static_cast<int>(CommandId::Count)];

constexpr std::size_t kCommandBufferUnits = 32;   // larger than every N + 2

struct CommandText {
  wchar_t text[kCommandBufferUnits];
  int size;   // N, handed to the link as its size argument
};

// Formats the command with its arguments (printf rules) into out.
void formatCommand(CommandText& out, CommandId id, ...);

// Appends CR LF to the text for the echo line: what fits of it within N + 2
// units with the terminator, and within the buffer whatever N is.
void appendEchoLineEnd(CommandText& command);

// The free text of the Send row goes out whole with CR LF, or not at all: a
// text longer than this is not sent. The unit takes commands of a few dozen
// characters; the limit keeps a stray paste off the line.
constexpr int kFreeTextMaxUnits = 1024;
