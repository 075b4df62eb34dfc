// Every control of the main window, as a table of classes, captions, ids and
// client-pixel rectangles, the routines that create them in table order, and
// the painted captions and separator beside them.
#include "ui/main/main_window_layout.h"

#include <commctrl.h>

#include "protocol/command_texts.h"
#include "protocol/control_state.h"
#include "ui/ids.h"
#include "ui/main/main_window.h"
#include "ui/main/main_window_parts.h"
#include "ui/edit_capacity.h"

namespace {
constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kTwoLineButton = kButton | BS_MULTILINE;
constexpr DWORD kLevelTrackbar =
    WS_CHILD | WS_VISIBLE | WS_DISABLED | TBS_VERT | TBS_BOTH | TBS_NOTICKS | TBS_ENABLESELRANGE;
constexpr DWORD kConsole = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY;
// The edit scrolls sideways and keeps the text typed or pasted (up to its
// capacity): an edit that kept only what fits its width would send a cut text.
constexpr DWORD kSendEdit = WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_BORDER | ES_AUTOHSCROLL;

constexpr const wchar_t* kButtonClass = L"BUTTON";
constexpr const wchar_t* kTrackbarClass = L"msctls_trackbar32";
constexpr const wchar_t* kTrackbarCaption = L"Trackbar Control";
constexpr const wchar_t* kEditClass = L"Edit";
constexpr int kLevelMax = 7;

enum class Font { Ui, Fixed, None };

struct ControlSpec {
  const wchar_t* className;
  const wchar_t* caption;
  int id;
  int x, y, width, height;
  DWORD style;
  Font font;
  HWND* handle;
};

MainWindowState& cs = mainWindowState;

// Each audio input button is followed by its level trackbar. The HDBaseT
// button comes before "Display\nPort" although it is video input 8.
const ControlSpec kPanelControls[] = {
    {kButtonClass, L"1", 500, 8, 124, 30, 38, kButton, Font::Ui, &cs.audioInputButtons[0]},
    {kTrackbarClass, kTrackbarCaption, 700, 8, 170, 30, 100, kLevelTrackbar, Font::None, &cs.audioLevelTrackbars[0]},
    {kButtonClass, L"2", 504, 46, 124, 30, 38, kButton, Font::Ui, &cs.audioInputButtons[1]},
    {kTrackbarClass, kTrackbarCaption, 701, 46, 170, 30, 100, kLevelTrackbar, Font::None, &cs.audioLevelTrackbars[1]},
    {kButtonClass, L"3", 508, 84, 124, 30, 38, kButton, Font::Ui, &cs.audioInputButtons[2]},
    {kTrackbarClass, kTrackbarCaption, 702, 84, 170, 30, 100, kLevelTrackbar, Font::None, &cs.audioLevelTrackbars[2]},
    {kButtonClass, L"4", 512, 122, 124, 30, 38, kButton, Font::Ui, &cs.audioInputButtons[3]},
    {kTrackbarClass, kTrackbarCaption, 703, 122, 170, 30, 100, kLevelTrackbar, Font::None, &cs.audioLevelTrackbars[3]},
    {kButtonClass, L"5", 516, 160, 124, 30, 38, kButton, Font::Ui, &cs.audioInputButtons[4]},
    {kTrackbarClass, kTrackbarCaption, 704, 160, 170, 30, 100, kLevelTrackbar, Font::None, &cs.audioLevelTrackbars[4]},
    {kButtonClass, L"6", 520, 198, 124, 30, 38, kButton, Font::Ui, &cs.audioInputButtons[5]},
    {kTrackbarClass, kTrackbarCaption, 705, 198, 170, 30, 100, kLevelTrackbar, Font::None, &cs.audioLevelTrackbars[5]},
    {kButtonClass, L"7", 524, 236, 124, 30, 38, kButton, Font::Ui, &cs.audioInputButtons[6]},
    {kTrackbarClass, kTrackbarCaption, 706, 236, 170, 30, 100, kLevelTrackbar, Font::None, &cs.audioLevelTrackbars[6]},
    {kButtonClass, L"8", 528, 274, 124, 30, 38, kButton, Font::Ui, &cs.audioInputButtons[7]},
    {kTrackbarClass, kTrackbarCaption, 707, 274, 170, 30, 100, kLevelTrackbar, Font::None, &cs.audioLevelTrackbars[7]},
    {kButtonClass, L"9", 532, 312, 124, 30, 38, kButton, Font::Ui, &cs.audioInputButtons[8]},
    {kTrackbarClass, kTrackbarCaption, 708, 312, 170, 30, 100, kLevelTrackbar, Font::None, &cs.audioLevelTrackbars[8]},
    {kButtonClass, L"HDMI/\nHDBT", 536, 350, 124, 55, 38, kTwoLineButton, Font::Ui, &cs.audioInputButtons[9]},
    {kTrackbarClass, kTrackbarCaption, 709, 362, 170, 30, 100, kLevelTrackbar, Font::None, &cs.audioLevelTrackbars[9]},
    {kButtonClass, videoInputNames[0], 600, 8, 28, 73, 30, kButton, Font::Ui, &cs.videoInputButtons[0]},
    {kButtonClass, videoInputNames[1], 604, 8, 66, 73, 30, kButton, Font::Ui, &cs.videoInputButtons[1]},
    {kButtonClass, videoInputNames[2], 608, 89, 28, 73, 30, kButton, Font::Ui, &cs.videoInputButtons[2]},
    {kButtonClass, videoInputNames[3], 612, 89, 66, 73, 30, kButton, Font::Ui, &cs.videoInputButtons[3]},
    {kButtonClass, videoInputNames[4], 616, 170, 28, 73, 30, kButton, Font::Ui, &cs.videoInputButtons[4]},
    {kButtonClass, videoInputNames[5], 620, 170, 66, 73, 30, kButton, Font::Ui, &cs.videoInputButtons[5]},
    {kButtonClass, videoInputNames[6], 624, 251, 28, 73, 30, kButton, Font::Ui, &cs.videoInputButtons[6]},
    {kButtonClass, L"HDBaseT", 632, 251, 66, 73, 30, kTwoLineButton, Font::Ui, &cs.videoInputButtons[8]},
    {kButtonClass, L"Display\nPort", 628, 332, 28, 73, 68, kTwoLineButton, Font::Ui, &cs.videoInputButtons[7]},
    {kButtonClass, L"HDMI\nVol+", IDC_HDMI_VOL_UP, 425, 28, 55, 55, kTwoLineButton, Font::Ui, &cs.hdmiVolUpButton},
    {kButtonClass, L"HDMI\nVol-", IDC_HDMI_VOL_DOWN, 425, 90, 55, 55, kTwoLineButton, Font::Ui, &cs.hdmiVolDownButton},
    {kButtonClass, L"HDMI\nMute", IDC_HDMI_MUTE, 425, 152, 55, 54, kTwoLineButton, Font::Ui, &cs.hdmiMuteButton},
    {kButtonClass, L"Analog\nVol+", IDC_ANALOG_VOL_UP, 488, 28, 55, 55, kTwoLineButton, Font::Ui, &cs.analogVolUpButton},
    {kButtonClass, L"Analog\nVol-", IDC_ANALOG_VOL_DOWN, 488, 90, 55, 55, kTwoLineButton, Font::Ui, &cs.analogVolDownButton},
    {kButtonClass, L"Analog\nMute", IDC_ANALOG_MUTE, 488, 152, 55, 54, kTwoLineButton, Font::Ui, &cs.analogMuteButton},
    {kButtonClass, L"Mute All ", IDC_MUTE_ALL, 425, 214, 118, 54, kButton, Font::Ui, &cs.muteAllButton},
};

const ControlSpec kOutputControls[] = {
    {kEditClass, L"", IDC_CONSOLE, 8, 278, 535, 200, kConsole, Font::Fixed, &cs.consoleEdit},
    {kEditClass, L"", IDC_SEND_EDIT, 8, 486, 389, 23, kSendEdit, Font::Fixed, &cs.sendEdit},
    {kButtonClass, L"Send", IDC_SEND, 405, 486, 65, 23, kButton, Font::Ui, &cs.sendButton},
    {kButtonClass, L"Clear", IDC_CLEAR, 478, 486, 65, 23, kButton, Font::Ui, &cs.clearButton},
};

HWND createControl(HWND window, const ControlSpec& row) {
  HWND control = CreateWindowExW(0, row.className, row.caption, row.style, row.x, row.y, row.width,
                                 row.height, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                                 mainWindowState.instanceHandle, nullptr);
  *row.handle = control;
  if (row.font != Font::None) {
    HFONT font = row.font == Font::Ui ? mainWindowState.uiFont : mainWindowState.fixedFont;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  if (lstrcmpiW(row.className, TRACKBAR_CLASSW) == 0) SendMessageW(control, TBM_SETRANGE, TRUE, MAKELPARAM(0, kLevelMax));
  return control;
}

HFONT createFont(const wchar_t* face, int height, int width, int weight) {
  return CreateFontW(height, width, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
}

RECT rectOf(const ControlSpec& row) { return RECT{row.x, row.y, row.x + row.width, row.y + row.height}; }
}  // namespace

const PaintedCaption kPaintedCaptions[3] = {
    {8, 8, L"Video Input Select"},
    {8, 104, L"Audio Input Select"},
    {425, 8, L"Output Audio"},
};

const PaintedSeparator kPaintedSeparator = {416, 8, 268};

RECT controlRectOfId(int id) {
  for (const ControlSpec& row : kPanelControls)
    if (row.id == id) return rectOf(row);
  for (const ControlSpec& row : kOutputControls)
    if (row.id == id) return rectOf(row);
  return RECT{0, 0, 0, 0};
}

RECT frameRoundControl(int id) {
  RECT rect = controlRectOfId(id);
  InflateRect(&rect, 1, 1);
  return rect;
}

void createMainWindowFonts() {
  mainWindowState.uiFont = createFont(L"Tahoma", 16, 6, 600);
  mainWindowState.fixedFont = createFont(L"Courier New", 16, 8, 0);
}

void createPanelControls(HWND window) {
  // The trackbar class lives in the common controls.
  INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  for (const ControlSpec& row : kPanelControls) createControl(window, row);
}

void createOutputControls(HWND window) {
  for (const ControlSpec& row : kOutputControls) createControl(window, row);
  // The pane bounds its own scroll-back (console_pane.h); the edit's default
  // limit would silently drop everything past 30,000 characters.
  SendMessageW(mainWindowState.consoleEdit, EM_SETLIMITTEXT, 0, 0);
  HideCaret(mainWindowState.consoleEdit);
  // One more than the Send row sends, so that a longer text shows as too long.
  setEditCapacity(mainWindowState.sendEdit, kFreeTextMaxUnits + 1);
}

void makeButtonsIgnoreDoubleClicks(HWND window) {
  HWND hidden = CreateWindowExW(0, L"button", nullptr, WS_CHILD | BS_OWNERDRAW, 0, 0, 0, 0, window, nullptr,
                                mainWindowState.instanceHandle, nullptr);
  ULONG_PTR style = GetClassLongPtrW(hidden, GCL_STYLE);
  SetClassLongPtrW(hidden, GCL_STYLE, static_cast<LONG_PTR>(style & ~static_cast<ULONG_PTR>(CS_DBLCLKS)));
}
