#pragma once
// The pieces the main window is built from, shared between its files.
#include <windows.h>

// The "zaro" background, made before WinMain runs and never released.
extern const HBRUSH mainWindowBackgroundBrush;

constexpr COLORREF kPanelGrey = RGB(238, 238, 238);

// Creates uiFont and fixedFont.
void createMainWindowFonts();


// Removes CS_DBLCLKS from the system button class through a hidden button, so
// a quick second click on any button is a click of its own.
void makeButtonsIgnoreDoubleClicks(HWND window);

// Appends "&Connect" (the port items, "Show Output") and "&Help".
void appendRunTimeMenus(HWND window);

// Closes the open port through the link: the "Closed" line, or the closing
// error box; true when the port was closed.
bool closeOpenPort();

// Moves the port check mark to the given item; takes it off every item.
void markPortItem(int itemId);
void clearPortMark();

// WM_COMMAND with notification code 0: port items, Send, the id table, the
// input button scan, Exit.
void dispatchCommand(HWND window, int id, HWND control);

void showFirmwareBox();
void showAboutBox();
