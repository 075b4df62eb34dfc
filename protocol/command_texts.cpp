#include "protocol/command_texts.h"

#include <cstdarg>

#include "protocol/bounded_text.h"

// Wide string arguments are written %ls, which means the same to every C
// runtime; the unit receives the texts of its command language unchanged.
const CommandSpec commandTable[static_cast<int>(CommandId::Count)] = {
    /* ReadVideoInput         */ {L"R SOURCE.", 10},
    /* ReadAudioInput         */ {L"R AUDIO.", 9},
    /* SelectVideoInput       */ {L"S SOURCE %d.", 12},
    /* SelectOutputResolution */ {L"S OUTPUT %x!", 12},
    /* ReadOutputResolution   */ {L"R OUTPUT!", 10},
    /* SetIpAddress           */ {L"<SIPR[%d-%d-%d-%d]>", 25},
    /* ReadIpAddress          */ {L"<SIPR>", 7},
    /* SetIpPort              */ {L"<SPORT[%d]>", 15},
    /* ReadIpPort             */ {L"<SPORT>", 8},
    /* SetSubnetMask          */ {L"<SUBR[%d-%d-%d-%d]>", 25},
    /* ReadSubnetMask         */ {L"<SUBR>", 7},
    /* SetGatewayAddress      */ {L"<GAR[%d-%d-%d-%d]>", 24},
    /* ReadGatewayAddress     */ {L"<GAR>", 6},
    /* RestoreDefaults        */ {L"<DEFAULT>", 10},
    /* CopyEdid               */ {L"<COPYEDID>", 11},
    /* BuzzerOn               */ {L"<BellOn>", 9},
    /* BuzzerOff              */ {L"<BellOff>", 10},
    /* ReadBuzzerStatus       */ {L"<BellStatus>", 13},
    /* ReadVersions           */ {L"<SW>", 5},
    /* StepVerticalStart      */ {L"VStart%lc*", 9},
    /* StepHorizontalStart    */ {L"HStart%lc*", 9},
    /* StepHorizontalTotal    */ {L"HTotal%lc*", 9},
    /* AutoAdjust             */ {L"Auto Adjust*", 13},
    /* SetBrightness          */ {L"Brightness %ls%ls%d*", 16},
    /* ReadBrightness         */ {L"Brightness*", 12},
    /* SetContrast            */ {L"Contrast %ls%ls%d*", 14},
    /* ReadContrast           */ {L"Contrast*", 12},
    /* SelectAudioInput       */ {L"S AUDIO %d.", 11},
    /* SetAudioInputLevel     */ {L"A %d INPUT %d%%", 14},
    /* StepOutputVolume       */ {L"%lc%lc OUTPUT%%", 11},
    /* OpenHdmiMute           */ {L"OPEN 1%%", 8},
    /* CloseHdmiMute          */ {L"CLOSE 1%%", 9},
    /* OpenAnalogMute         */ {L"OPEN 0%%", 8},
    /* CloseAnalogMute        */ {L"CLOSE 0%%", 9},
    /* MuteAllOff             */ {L"MUTE OFF%%", 10},
    /* MuteAllOn              */ {L"MUTE ON%%", 9},
};

void formatCommand(CommandText& out, CommandId id, ...) {
  const CommandSpec& entry = commandTable[static_cast<int>(id)];
  for (wchar_t& unit : out.text) unit = 0;
  out.size = entry.transmitCount;
  va_list args;
  va_start(args, id);
  vformatBounded(out.text, static_cast<std::size_t>(entry.transmitCount), entry.format, args);
  va_end(args);
  if (id == CommandId::SelectOutputResolution && out.text[9] >= L'a' && out.text[9] <= L'f')
    out.text[9] = static_cast<wchar_t>(out.text[9] - L'a' + L'A');
}

void appendEchoLineEnd(CommandText& command) {
  // A text formatCommand made has at most N - 1 units, so CR LF fits in
  // N + 2; a command made otherwise is cut like any bounded text.
  std::size_t length = boundedLength(command.text, kCommandBufferUnits);
  std::size_t limit = static_cast<std::size_t>(command.size) + 2;
  if (limit > kCommandBufferUnits) limit = kCommandBufferUnits;
  if (length < limit) copyBounded(command.text + length, limit - length, L"\r\n");
}
