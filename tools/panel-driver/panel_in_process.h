#pragma once
// The control panel inside this program: built by the program's own start-up
// on this thread, driven through its menus and read back from its state, and
// ended again so that the next start finds the process as it was.
#include <windows.h>

#include <string>

// The program's own start-up; returns the main window. The notice of a unit
// that does not answer is off (mainWindowState.answerWaitMs 0).
HWND startPanel();
// Completes a start-up the caller made itself (with a port list of its own):
// the main window made ready to be ended again; returns it.
HWND finishPanelStart();

// The index of a port in the machine's port list as the program lists it, so
// its "&Connect" item is IDM_PORT_BASE + index in a program started now; -1
// when it is not listed. Lists anew into PortList.
int listedPortIndex(const std::wstring& portName);
// The five opening queries as the unit receives them.
inline const std::string kOpeningQueries = "<BellOff>R SOURCE.R AUDIO.<BellStatus><SW>";

// The output pane's text and its length.
std::wstring paneText();
long paneLength();

// Ends what a start left behind: every window of this thread destroyed (the
// main window closes an open port through the link as it goes), a port still
// open closed through the link, the stop mutex closed, GDI+ shut down, the
// two window classes unregistered, and controlState, mainWindowState, the
// serial link and the port list back at their start values.
void endPanel();
