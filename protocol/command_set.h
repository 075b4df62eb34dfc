#pragma once
// CommandSender: one operation per command. Each formats its text, hands it to
// the link that linkMode selects and echoes "Tx> " + text + CR LF. All run on
// the UI thread and return 0.

int readVideoInput();
int readAudioInput();
int selectVideoInput(int index);
int selectOutputResolution(int index);
int readOutputResolution();
int setIpAddress(int a, int b, int c, int d);
int readIpAddress();
int setIpPort(int port);
int readIpPort();
int setSubnetMask(int a, int b, int c, int d);
int readSubnetMask();
int setGatewayAddress(int a, int b, int c, int d);
int readGatewayAddress();
int restoreDefaults();
int copyEdid();
int setBuzzer(bool on);
int readBuzzerStatus();
int readVersions();
int stepVerticalStart(bool plus);
int stepHorizontalStart(bool plus);
int stepHorizontalTotal(bool plus);
int autoAdjust();
int setBrightness(int value);
int readBrightness();
int setContrast(int value);
int readContrast();
int selectAudioInput(int index);
int setAudioInputLevel(int index, int level);
int stepOutputVolume(bool analog, bool up);
int toggleOutputMute(int which);   // 0 HDMI, 1 analog, 2 all

// Sends a text as it stands with transmit count size over the selected link
// (the free-text path) and echoes it as a Tx line.
void sendTextOnLink(const wchar_t* text, int size);
