#pragma once
// The control panel inside this program: built by the program's own start-up
// on this thread, driven through its menus and read back from its state, and
// ended again so that the next start finds the process as it was.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

class UnitPeer;

// The program's own start-up; returns the main window.
HWND startPanel();
// Start-up with a port list of the caller's own and the listing's result.
HWND startPanelWithPorts(const std::vector<std::wstring>& names, bool listingFailed);
// Start-up with the discovered ports followed by extra names, so ports that
// fail to open or to configure can be offered.
HWND startPanelWithExtraPorts(std::initializer_list<const wchar_t*> extraNames);

// Chooses the "&Connect" item with the given text.
void choosePortItem(const std::wstring& portName);
// The index of a port in the machine's port list as the program lists it, so
// its "&Connect" item is IDM_PORT_BASE + index in a program started now; -1
// when it is not listed. Lists anew into PortList.
int listedPortIndex(const std::wstring& portName);
// The five opening queries as the unit receives them.
inline const std::string kOpeningQueries = "<BellOff>R SOURCE.R AUDIO.<BellStatus><SW>";
// Connects through the test port's item; returns what the peer read of the
// opening queries (kOpeningQueries when all came).
std::string connectTestPort(UnitPeer& peer);

// The output pane's text and its length.
std::wstring paneText();
long paneLength();

// Ends what a start left behind: every window of this thread destroyed (the
// main window closes an open port through the link as it goes), a port still
// open closed through the link, the stop mutex closed, GDI+ shut down, the
// two window classes unregistered, and controlState, mainWindowState, the
// serial link and the port list back at their start values.
void endPanel();
