#pragma once
// Starts of the in-process panel that only the tests need: port lists of their
// own, and connecting through the test port's menu item.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "tools/panel-driver/panel_in_process.h"

class UnitPeer;

// Start-up with a port list of the caller's own and the listing's result.
HWND startPanelWithPorts(const std::vector<std::wstring>& names, bool listingFailed);
// Start-up with the discovered ports followed by extra names, so ports that
// fail to open or to configure can be offered.
HWND startPanelWithExtraPorts(std::initializer_list<const wchar_t*> extraNames);

// Chooses the "&Connect" item with the given text.
void choosePortItem(const std::wstring& portName);
// Connects through the test port's item; returns what the peer read of the
// opening queries (kOpeningQueries when all came).
std::string connectTestPort(UnitPeer& peer);

// Throws away what earlier programs or cases left unread at the program's
// ends of the rig's pty pairs (a reply written to a panel that had no reader,
// or that closed first), so that a case sees only its own bytes.
void drainRigLines();
