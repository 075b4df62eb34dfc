#pragma once
#include <windows.h>

#include "protocol/control_state.h"
#include "protocol/query_sequences.h"

// The main window's own state beside ControlState: how it was started, its
// size and menu marks, and the handles of the objects it made. UI thread only.
struct MainWindowState {
  HINSTANCE instanceHandle = nullptr;
  int showCommand = SW_SHOWNORMAL;
  bool noSerialPorts = false;      // the port listing failed at start-up
  bool outputShown = false;        // the window is at full height
  int nonClientWidth = 0;          // outer minus client size, measured once
  int nonClientHeight = 0;
  int markedPortItem = 0;          // menu id of the checked port item, 0 none
  bool connecting = false;         // connectToPort is running (its boxes may be open)
  LPARAM lossReported = 0;         // the connection whose loss has been reported (0 none)
  // How long a new connection waits for the unit's first line before the
  // operator is told that nothing answers; 0: never told.
  unsigned answerWaitMs = kUnitAnswerWaitMs;
  bool awaitingAnswer = false;     // no line has come yet on this connection, the notice not shown

  // Handles, each set once by the routine that creates the object; they live
  // as long as the program.
  HWND mainWindow = nullptr;
  HMENU mainMenu = nullptr;        // item 3006 is the buzzer item
  HWND consoleEdit = nullptr;
  HWND sendEdit = nullptr;
  HWND audioInputButtons[kAudioInputCount] = {};     // index: the audio input
  HWND audioLevelTrackbars[kAudioInputCount] = {};
  HWND videoInputButtons[kVideoInputCount] = {};     // index: the video input
  HWND hdmiVolUpButton = nullptr;
  HWND hdmiVolDownButton = nullptr;
  HWND hdmiMuteButton = nullptr;
  HWND analogVolUpButton = nullptr;
  HWND analogVolDownButton = nullptr;
  HWND analogMuteButton = nullptr;
  HWND muteAllButton = nullptr;
  HWND sendButton = nullptr;
  HWND clearButton = nullptr;
  HFONT uiFont = nullptr;          // buttons, painted texts, settings windows
  HFONT fixedFont = nullptr;       // the output pane and the edits
};
extern MainWindowState mainWindowState;

int registerMainWindowClass();
int registerSettingsWindowClass();

// Builds the main window with all its controls, fonts and menus; 0, or 1 when
// the window could not be created.
int createMainWindow(HINSTANCE instance, int showCommand);

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void paintMainWindow(HWND window);

// "&Connect" port item i: close the open port, open entry i (a failure is
// shown in a box), configure, enable the device controls and send the opening
// queries; the check mark then marks item i if the port is open, else no item.
// Does nothing while a connect is already running.
void connectToPort(int index);

// The open port's device is gone (WM_LINK_LOST for that connection): the port
// is closed, the device controls grey and a box of the main window says so,
// once per connection. A report of a connection that is no longer open is
// ignored.
void reportLostLink(DWORD error, LPARAM connection);

// The notice of a unit that does not answer: started once a connection has
// sent its opening queries, stopped by the unit's first line or the end of the
// connection; the timer's end shows the notice (once per connection).
void watchForTheUnitsAnswer();
void noteUnitLines(int lines);
void stopAnswerWatch();
void onAnswerWatchTimer(UINT_PTR timer);   // any other timer of the window is not its

// The Send button: the send edit's text with CR LF, then the edit is emptied.
// A text longer than kFreeTextMaxUnits (command_texts.h) is not sent; a System
// line says why.
void sendFreeText();
