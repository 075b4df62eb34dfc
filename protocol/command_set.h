#pragma once
// CommandSender: one operation per command. Each formats its text, hands it
// to the program's command output (the link that linkMode selects) and has the
// output echo "Tx> " + text + CR LF, or say that it was not sent when the
// write failed. All run on the UI thread and return 0.

// What became of a command handed to the link.
enum class Transmitted {
  Sent,     // the link took it
  NoLink,   // no link is open to take it: the command goes nowhere
  Failed,   // the link is open but the write failed: the command is not on the line
};

// What the program provides for the commands: transmit puts a command on the
// link with its transmit count as the size; echo writes the text, already
// ended by CR LF, as a transmit line; notSent reports, in place of the echo,
// a command text that did not go out (no link was open, or its write failed)
// and why.
struct CommandOutput {
  Transmitted (*transmit)(const wchar_t* text, int size);
  void (*echo)(const wchar_t* line);
  void (*notSent)(const wchar_t* text, Transmitted why);
};

// Where the commands go from now on; until it is called they go nowhere.
void setCommandOutput(const CommandOutput& output);

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
