// The painted panel: the unit's replies make green frames round the selected
// inputs and red frames round the muted outputs appear and disappear; the
// captions and the separator are drawn on the grey ground.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/command_stamps.h"
#include "tests/support/panel_fixtures.h"
#include "tests/support/screen_reading.h"
#include "ui/ids.h"

namespace {
class MainWindowPaint : public PanelTest {};

const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGrey = RGB(238, 238, 238);
const COLORREF kBlack = RGB(0, 0, 0);

// Frames one pixel outside their buttons (right and bottom exclusive).
const RECT kCvFrame = {7, 27, 82, 59};
const RECT kHdmi1Frame = {169, 27, 244, 59};
const RECT kDisplayPortFrame = {331, 27, 406, 97};
const RECT kHdBaseTFrame = {250, 65, 325, 97};
const RECT kAudio3Frame = {83, 123, 115, 163};
const RECT kAudio5Frame = {159, 123, 191, 163};
const RECT kAudio7Frame = {235, 123, 267, 163};
const RECT kAudioHdbtFrame = {349, 123, 406, 163};
const RECT kHdmiMuteFrame = {424, 151, 481, 207};
const RECT kAnalogMuteFrame = {487, 151, 544, 207};
const RECT kMuteAllFrame = {424, 213, 544, 269};

struct FrameColour {
  RECT frame;
  COLORREF colour;
};

struct Step {
  std::string reply;
  std::vector<FrameColour> frames;
};

// All four corners of the frame's outline carry its colour.
void expectFrame(const FrameColour& expected) {
  const RECT& r = expected.frame;
  const POINT corners[] = {{r.left, r.top}, {r.right - 1, r.top}, {r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}};
  waitFor([&] { return clientPixel(mainWindowState.mainWindow, r.left, r.top) == expected.colour; }, 3000);
  for (const POINT& corner : corners) {
    EXPECT_EQ(clientPixel(mainWindowState.mainWindow, corner.x, corner.y), expected.colour)
        << "at " << corner.x << "," << corner.y;
  }
}

TEST_F(MainWindowPaint, RepliesMakeFramesAppearAndDisappear) {
  UnitPeer peer(testPeerName());
  ASSERT_NE(startPanel(), nullptr);
  ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  const Step steps[] = {
      {"", {{kCvFrame, kGrey}, {kAudio3Frame, kGrey}, {kHdmiMuteFrame, kGrey}, {kMuteAllFrame, kGrey}}},
      {">SOURCE HDMI1\r\n", {{kHdmi1Frame, kGreen}, {kCvFrame, kGrey}}},
      {">SOURCE DisplayPort\r\n", {{kDisplayPortFrame, kGreen}, {kHdmi1Frame, kGrey}}},
      {">Video Input: HDBaseT\r\n", {{kHdBaseTFrame, kGreen}, {kDisplayPortFrame, kGrey}}},
      {">AUDIO 3\r\n", {{kAudio3Frame, kGreen}, {kHdBaseTFrame, kGreen}}},
      {">HDMI AUDIO MUTE ON\r\n", {{kHdmiMuteFrame, kRed}, {kAnalogMuteFrame, kGrey}, {kMuteAllFrame, kGrey}}},
      {">MUTE ON\r\n>Analog AUDIO MUTE ON\r\n",
       {{kHdmiMuteFrame, kRed}, {kAnalogMuteFrame, kRed}, {kMuteAllFrame, kRed}}},
      {">HDMI AUDIO MUTE OFF\r\n>HDMI&HDBaseT\r\n",
       {{kHdmiMuteFrame, kGrey}, {kAnalogMuteFrame, kRed}, {kAudioHdbtFrame, kGreen}, {kAudio3Frame, kGrey}}},
      {">MUTE OFF\r\n>Analog AUDIO MUTE OFF\r\n", {{kMuteAllFrame, kGrey}, {kAnalogMuteFrame, kGrey}}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.reply);
    if (!step.reply.empty()) {
      ASSERT_TRUE(peer.write(step.reply));
    }
    for (const FrameColour& frame : step.frames) expectFrame(frame);
  }
}

// Before any input reply the mute frames still follow the unit's mute replies.
TEST_F(MainWindowPaint, AMuteReplyBeforeAnyInputReplyIsPainted) {
  UnitPeer peer(testPeerName());
  ASSERT_NE(startPanel(), nullptr);
  ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  ASSERT_EQ(controlState.audioInput, -1);
  ASSERT_TRUE(peer.write(">MUTE ON\r\n>HDMI AUDIO MUTE ON\r\n"));
  expectFrame({kMuteAllFrame, kRed});
  expectFrame({kHdmiMuteFrame, kRed});
  EXPECT_EQ(controlState.audioInput, -1);
  ASSERT_TRUE(peer.write(">MUTE OFF\r\n"));
  expectFrame({kMuteAllFrame, kGrey});
}

// A reply line that falls across the 1023-unit limit of one delivery is still
// read whole: the HDMI output is muted, not all of them.
TEST_F(MainWindowPaint, AReplyLineAcrossTheDeliveryLimitIsReadWhole) {
  UnitPeer peer(testPeerName());
  ASSERT_NE(startPanel(), nullptr);
  ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  const std::string filler = ">ERR unknown command\r\n";
  std::string noise;
  while (noise.size() + filler.size() <= 1011) noise += filler;
  noise += ">" + std::string(1011 - noise.size() - 3, 'x') + "\r\n";
  ASSERT_EQ(noise.size(), 1011u);
  const std::string muted = ">HDMI AUDIO MUTE ON\r\n";
  ASSERT_TRUE(peer.write(noise + muted));
  std::wstring echoed(muted.begin(), muted.end());
  ASSERT_TRUE(waitFor([&] {
    std::wstring text = paneText();
    return text.size() >= echoed.size() && text.substr(text.size() - echoed.size()) == echoed;
  }));
  EXPECT_EQ(controlState.hdmiAudioMuted, 1);
  EXPECT_EQ(controlState.allAudioMuted, 0);
  expectFrame({kHdmiMuteFrame, kRed});
  expectFrame({kMuteAllFrame, kGrey});
}

// One delivery that moves an input twice: only the input it ends on keeps a
// frame; the one framed before it and the one passed on the way are grey.
TEST_F(MainWindowPaint, ADeliveryThatChangesAnInputTwiceLeavesOnlyTheLastFramed) {
  UnitPeer peer(testPeerName());
  ASSERT_NE(startPanel(), nullptr);
  ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  ASSERT_TRUE(peer.write(">AUDIO 3\r\n>SOURCE CV\r\n"));
  expectFrame({kAudio3Frame, kGreen});
  expectFrame({kCvFrame, kGreen});
  ASSERT_TRUE(peer.write(">AUDIO 5\r\n>AUDIO 7\r\n>SOURCE HDMI1\r\n>SOURCE DisplayPort\r\n"));
  ASSERT_TRUE(waitFor([] { return controlState.videoInput == 7; }));
  expectFrame({kAudio7Frame, kGreen});
  expectFrame({kDisplayPortFrame, kGreen});
  for (const RECT& stale : {kAudio3Frame, kAudio5Frame, kCvFrame, kHdmi1Frame}) expectFrame({stale, kGrey});
}

// The unit hands a reply over in two pieces some milliseconds apart, as USB
// serial adapters do: the line is read whole, and the pane shows each piece
// as it came.
TEST_F(MainWindowPaint, AReplyLineSplitAcrossTwoDeliveriesIsRead) {
  UnitPeer peer(testPeerName());
  ASSERT_NE(startPanel(), nullptr);
  ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  ASSERT_TRUE(peer.write(">AUDIO "));
  ASSERT_TRUE(waitFor([] { return paneText().find(L"Rx>>AUDIO ") != std::wstring::npos; }));
  ASSERT_TRUE(peer.write("3\r\n>SOURCE C"));
  ASSERT_TRUE(waitFor([] { return paneText().find(L"Rx>3\r\n>SOURCE C") != std::wstring::npos; }));
  ASSERT_TRUE(peer.write("V\r"));
  ASSERT_TRUE(waitFor([] { return paneText().find(L"Rx>V") != std::wstring::npos; }));
  ASSERT_TRUE(peer.write("\n>MUTE ON\r\n"));
  ASSERT_TRUE(waitFor([] { return controlState.allAudioMuted == 1; }));
  EXPECT_EQ(controlState.audioInput, 2);
  EXPECT_EQ(controlState.videoInput, 0);
  expectFrame({kAudio3Frame, kGreen});
  expectFrame({kCvFrame, kGreen});
  expectFrame({kMuteAllFrame, kRed});

  // A half line of one connection is not finished by the next connection's text.
  ASSERT_TRUE(peer.write(">SOURCE HD"));
  ASSERT_TRUE(waitFor([] { return paneText().find(L"Rx>>SOURCE HD") != std::wstring::npos; }));
  ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  ASSERT_TRUE(peer.write("MI1\r\n>AUDIO 9\r\n"));
  ASSERT_TRUE(waitFor([] { return controlState.audioInput == 8; }));
  EXPECT_EQ(controlState.videoInput, -1);
}

class ConnectedPaint : public ConnectedPanelTest {};

// Two units in turn, on two ports: what the first reported is not shown as
// the second's. Until the second answers no input is framed and no output
// muted (it has no mute query, so the first mute click asks for a mute);
// then its own inputs are framed.
TEST_F(ConnectedPaint, ANewConnectionShowsNothingOfTheLastUnit) {
  reply(">Video Input: HDBaseT\r\n>Audio Input: Audio 7\r\n>HDMI AUDIO MUTE ON\r\n>Analog AUDIO MUTE ON\r\n"
        ">MUTE ON\r\n");
  for (const RECT& frame : {kHdBaseTFrame, kAudio7Frame}) expectFrame({frame, kGreen});
  for (const RECT& frame : {kHdmiMuteFrame, kAnalogMuteFrame, kMuteAllFrame}) expectFrame({frame, kRed});

  UnitPeer second(testPeer2Name());
  ASSERT_TRUE(second.isOpen());
  choosePortItem(testPort2Name());
  ASSERT_EQ(second.readAtLeast(kOpeningQueries.size()), kOpeningQueries);
  for (const RECT& frame : {kHdBaseTFrame, kAudio7Frame, kHdmiMuteFrame, kAnalogMuteFrame, kMuteAllFrame})
    expectFrame({frame, kGrey});
  EXPECT_EQ(controlState.videoInput, -1);
  EXPECT_EQ(controlState.audioInput, -1);
  click(IDC_HDMI_MUTE);
  click(IDC_MUTE_ALL);
  EXPECT_EQ(printable(second.readAtLeast(16)), printable("CLOSE 1%MUTE ON%"));

  ASSERT_TRUE(second.write(">Video Input: HDMI1\r\n>Audio Input: Audio 3\r\n"));
  ASSERT_TRUE(waitFor([] { return controlState.audioInput == 2; }));
  for (const RECT& frame : {kHdmi1Frame, kAudio3Frame}) expectFrame({frame, kGreen});
  for (const RECT& frame : {kHdBaseTFrame, kAudio7Frame}) expectFrame({frame, kGrey});
}

// File > Restore Default Settings: the reset goes out, the inputs and mutes
// are forgotten, and the panel asks for the factory state again (without
// silencing the buzzer), each query after the same pause as on connecting.
TEST_F(ConnectedPaint, RestoreDefaultsForgetsTheInputsAndMutesAndAsksAgain) {
  reply(">SOURCE HDMI1\r\n>AUDIO 3\r\n>HDMI AUDIO MUTE ON\r\n>MUTE ON\r\n");
  expectFrame({kHdmiMuteFrame, kRed});
  stampCommandsOnTheirWay();
  choose(IDM_RESTORE_DEFAULTS);
  expectSent("<DEFAULT>R SOURCE.R AUDIO.<BellStatus><SW>");
  ASSERT_EQ(commandStamps().size(), 5u);
  EXPECT_GE(shortestGapBetweenCommands(), 95.0);
  for (const RECT& frame : {kHdmiMuteFrame, kMuteAllFrame, kHdmi1Frame, kAudio3Frame}) expectFrame({frame, kGrey});
  reply(">Video Input: CV\r\n>Audio Input: Audio 7\r\n");
  expectFrame({kCvFrame, kGreen});
  expectFrame({kAudio7Frame, kGreen});
  for (const RECT& stale : {kHdmi1Frame, kAudio3Frame}) expectFrame({stale, kGrey});
  click(IDC_HDMI_MUTE);
  expectSent("CLOSE 1%");
}

int blackPixelsIn(const RECT& area) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (clientPixel(mainWindowState.mainWindow, x, y) == kBlack) ++count;
    }
  }
  return count;
}

TEST_F(MainWindowPaint, CaptionsAndTheSeparatorStandOnTheGreyGround) {
  ASSERT_NE(startPanel(), nullptr);
  HWND window = mainWindowState.mainWindow;
  // The separator runs from y = 8 up to, not including, y = 268.
  for (int y : {8, 100, 267}) EXPECT_EQ(clientPixel(window, 416, y), kBlack) << y;
  EXPECT_EQ(clientPixel(window, 416, 7), kGrey);
  EXPECT_EQ(clientPixel(window, 416, 268), kGrey);
  EXPECT_EQ(clientPixel(window, 415, 100), kGrey);

  // Text where the three captions stand, none in the gaps beside them.
  EXPECT_GT(blackPixelsIn(RECT{8, 8, 120, 24}), 20);      // "Video Input Select"
  EXPECT_GT(blackPixelsIn(RECT{8, 104, 120, 120}), 20);   // "Audio Input Select"
  EXPECT_GT(blackPixelsIn(RECT{425, 8, 510, 24}), 20);    // "Output Audio"
  EXPECT_EQ(blackPixelsIn(RECT{200, 8, 400, 24}), 0);
  for (POINT ground : {POINT{2, 2}, POINT{545, 275}, POINT{410, 110}}) {
    EXPECT_EQ(clientPixel(window, ground.x, ground.y), kGrey) << ground.x << "," << ground.y;
  }
}
}  // namespace
