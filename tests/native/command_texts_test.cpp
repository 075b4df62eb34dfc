#include "protocol/command_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// The formatted buffer: the text, then zeros through N + 1.
void expectCommand(const CommandText& command, const std::wstring& text, int n) {
  EXPECT_EQ(std::wstring(command.text), text);
  EXPECT_EQ(command.size, n);
  for (std::size_t i = text.size(); i < static_cast<std::size_t>(n) + 2; ++i)
    EXPECT_EQ(command.text[i], 0) << "unit " << i << " of " << std::string(text.begin(), text.end());
}
}  // namespace

struct FixedCase {
  CommandId id;
  const wchar_t* text;
  int n;
};
class FixedCommandTest : public testing::TestWithParam<FixedCase> {};

TEST_P(FixedCommandTest, FormatsTextWithItsTransmitCount) {
  CommandText command;
  formatCommand(command, GetParam().id);
  expectCommand(command, GetParam().text, GetParam().n);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, FixedCommandTest,
    testing::Values(FixedCase{CommandId::ReadVideoInput, L"R SOURCE.", 10},
                    FixedCase{CommandId::ReadAudioInput, L"R AUDIO.", 9},
                    FixedCase{CommandId::ReadOutputResolution, L"R OUTPUT!", 10},
                    FixedCase{CommandId::ReadIpAddress, L"<SIPR>", 7}, FixedCase{CommandId::ReadIpPort, L"<SPORT>", 8},
                    FixedCase{CommandId::ReadSubnetMask, L"<SUBR>", 7},
                    FixedCase{CommandId::ReadGatewayAddress, L"<GAR>", 6},
                    FixedCase{CommandId::RestoreDefaults, L"<DEFAULT>", 10},
                    FixedCase{CommandId::CopyEdid, L"<COPYEDID>", 11}, FixedCase{CommandId::BuzzerOn, L"<BellOn>", 9},
                    FixedCase{CommandId::BuzzerOff, L"<BellOff>", 10},
                    FixedCase{CommandId::ReadBuzzerStatus, L"<BellStatus>", 13},
                    FixedCase{CommandId::ReadVersions, L"<SW>", 5}, FixedCase{CommandId::AutoAdjust, L"Auto Adjust*", 13},
                    FixedCase{CommandId::ReadBrightness, L"Brightness*", 12},
                    FixedCase{CommandId::ReadContrast, L"Contrast*", 12},
                    FixedCase{CommandId::OpenHdmiMute, L"OPEN 1%", 8}, FixedCase{CommandId::CloseHdmiMute, L"CLOSE 1%", 9},
                    FixedCase{CommandId::OpenAnalogMute, L"OPEN 0%", 8},
                    FixedCase{CommandId::CloseAnalogMute, L"CLOSE 0%", 9},
                    FixedCase{CommandId::MuteAllOff, L"MUTE OFF%", 10}, FixedCase{CommandId::MuteAllOn, L"MUTE ON%", 9}));

TEST(CommandTexts, ResolutionDigitIsUpperCaseHex) {
  const std::pair<int, const wchar_t*> cases[] = {{0, L"S OUTPUT 0!"}, {9, L"S OUTPUT 9!"}, {10, L"S OUTPUT A!"},
                                                  {12, L"S OUTPUT C!"}, {15, L"S OUTPUT F!"}};
  for (const auto& [index, text] : cases) {
    CommandText command;
    formatCommand(command, CommandId::SelectOutputResolution, index);
    expectCommand(command, text, 12);
  }
}

TEST(CommandTexts, ArgumentsFillTheirPlaces) {
  CommandText c;
  formatCommand(c, CommandId::SelectVideoInput, 7);
  expectCommand(c, L"S SOURCE 7.", 12);
  formatCommand(c, CommandId::SelectAudioInput, 9);
  expectCommand(c, L"S AUDIO 9.", 11);
  formatCommand(c, CommandId::SetAudioInputLevel, 3, 5);
  expectCommand(c, L"A 3 INPUT 5%", 14);
  formatCommand(c, CommandId::SetIpAddress, 1, 2, 3, 4);
  expectCommand(c, L"<SIPR[1-2-3-4]>", 25);
  formatCommand(c, CommandId::SetIpAddress, 255, 255, 255, 255);
  expectCommand(c, L"<SIPR[255-255-255-255]>", 25);
  formatCommand(c, CommandId::SetGatewayAddress, 192, 168, 1, 1);
  expectCommand(c, L"<GAR[192-168-1-1]>", 24);
  formatCommand(c, CommandId::SetSubnetMask, 255, 0, 255, 0);
  expectCommand(c, L"<SUBR[255-0-255-0]>", 25);
  formatCommand(c, CommandId::SetIpPort, 65535);
  expectCommand(c, L"<SPORT[65535]>", 15);
  formatCommand(c, CommandId::StepVerticalStart, L'+');
  expectCommand(c, L"VStart+*", 9);
  formatCommand(c, CommandId::StepHorizontalTotal, L'-');
  expectCommand(c, L"HTotal-*", 9);
  formatCommand(c, CommandId::StepOutputVolume, L'B', L'+');
  expectCommand(c, L"B+ OUTPUT%", 11);
  formatCommand(c, CommandId::SetBrightness, L"0", L"0", 5);
  expectCommand(c, L"Brightness 005*", 16);
  formatCommand(c, CommandId::SetContrast, L"", L"", 100);
  expectCommand(c, L"Contrast 100*", 14);
}

TEST(CommandTexts, EchoLineEndFollowsTheText) {
  CommandText c;
  formatCommand(c, CommandId::SetIpAddress, 255, 255, 255, 255);
  appendEchoLineEnd(c);
  EXPECT_EQ(std::wstring(c.text), L"<SIPR[255-255-255-255]>\r\n");
}

TEST(CommandTexts, ArgumentsOutsideTheCallersRangeAreCutNotOverrun) {
  CommandText c;
  formatCommand(c, CommandId::SetIpAddress, -2147483647 - 1, -2147483647 - 1, -2147483647 - 1, -2147483647 - 1);
  EXPECT_EQ(std::wstring(c.text).size(), 24u);   // N - 1
  EXPECT_EQ(c.text[24], 0);
}
