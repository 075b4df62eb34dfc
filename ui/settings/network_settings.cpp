// "Network Settings": the unit's current network values as painted lines, and
// four rows of edits whose "Set" buttons check the row and send it.
#include "ui/settings/network_settings.h"

#include <strsafe.h>

#include <memory>
#include <new>

#include "protocol/command_set.h"
#include "protocol/control_state.h"
#include "protocol/network_rows.h"
#include "protocol/query_sequences.h"
#include "ui/ids.h"
#include "ui/edit_capacity.h"

namespace {
constexpr int kTextUnits = 128;
constexpr int kAddressRowCount = 3;   // IP address, subnet mask, gateway
constexpr int kOctetCount = 4;

constexpr int kOctetLeft = 161;
constexpr int kOctetStep = 48;
constexpr int kEditWidth = 40;
constexpr int kRowHeight = 25;
constexpr int kEditIdStep = 4;
// The edits scroll sideways and keep the whole text: a value cut to the width
// of its edit would be checked and sent as if the operator had entered it.
constexpr DWORD kEditStyle = WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL;
// Far more than any value takes; a text that fills it is refused (edit_capacity.h).
constexpr int kEditCapacity = 256;
constexpr DWORD kButtonStyle = WS_TABSTOP | BS_DEFPUSHBUTTON;

constexpr wchar_t kAddressInvalid[] = L"The IP address entered is not valid.";
constexpr wchar_t kAddressCaption[] = L"Invalid IP Address";

// The rows in the order their edits are made in each column.
struct AddressRow {
  int firstEditId;
  int editY;
  int setId;
  int (*send)(int a, int b, int c, int d);
  const wchar_t* invalidText;
  const wchar_t* invalidCaption;
  int dotY;
};

const AddressRow kAddressRows[kAddressRowCount] = {
    {IDC_IP_ADDRESS_EDIT, 92, IDC_SET_IP_ADDRESS, setIpAddress, kAddressInvalid, kAddressCaption, 101},
    {IDC_SUBNET_MASK_EDIT, 158, IDC_SET_SUBNET_MASK, setSubnetMask, L"The subnet mask entered is not valid.",
     L"Invalid subnet", 167},
    {IDC_GATEWAY_EDIT, 191, IDC_SET_GATEWAY, setGatewayAddress, kAddressInvalid, kAddressCaption, 200},
};

struct PortRowPlace {
  int editX, editY, editWidth;
  int setX;
};
constexpr PortRowPlace kPortRow = {161, 125, 60, 229};
constexpr int kAddressSetX = 353;

// The "Set" buttons in their order of creation.
struct SetButton {
  int id;
  int x, y;
};
const SetButton kSetButtons[] = {
    {IDC_SET_IP_ADDRESS, kAddressSetX, 92},
    {IDC_SET_PORT, kPortRow.setX, kPortRow.editY},
    {IDC_SET_SUBNET_MASK, kAddressSetX, 158},
    {IDC_SET_GATEWAY, kAddressSetX, 191},
};

struct Label {
  const wchar_t* text;
  int x, y;
};
const Label kLabels[] = {
    {L"Set IP address:", 8, 100},
    {L"Set IP port:", 8, 133},
    {L"Set subnet mask:", 8, 166},
    {L"Set gateway address:", 8, 199},
};
// The dots stand in the gaps right of the first three octet edits.
constexpr int kDotXs[] = {201, 249, 297};

// The controls by their index in the window, which is their order of
// creation: the twelve octet edits column by column, the port edit, then the
// four "Set" buttons.
int addressEditIndex(int row, int column) { return column * kAddressRowCount + row; }
constexpr int kPortEditIndex = kAddressRowCount * kOctetCount;

// The current-value lines, repainted when a reply changes them.
const RECT kCurrentValueLines = {8, 8, 401, 72};

HWND newestWindow = nullptr;

int octetX(int column) { return kOctetLeft + kOctetStep * column; }

void addValueEdit(HWND window, int id, int x, int y, int width) {
  setEditCapacity(addSettingsControl(window, {L"Edit", L"", kEditStyle, id, x, y, width, kRowHeight,
                                              SettingsFont::Fixed}),
                  kEditCapacity);
}

void createControls(HWND window) {
  for (int column = 0; column < kOctetCount; ++column) {
    for (const AddressRow& row : kAddressRows)
      addValueEdit(window, row.firstEditId + kEditIdStep * column, octetX(column), row.editY, kEditWidth);
  }
  addValueEdit(window, IDC_PORT_EDIT, kPortRow.editX, kPortRow.editY, kPortRow.editWidth);
  for (const SetButton& button : kSetButtons) {
    addSettingsControl(window, {L"BUTTON", L"Set", kButtonStyle, button.id, button.x, button.y, kEditWidth,
                                kRowHeight, SettingsFont::Ui});
  }
}

void pauseUiThread(unsigned ms) { Sleep(ms); }

void sendOpeningQueries() { runQuerySteps(kNetworkQueries, pauseUiThread); }

// An edit's text in memory of its own size; null, which reads as an empty
// edit, when none could be had or when the edit is full (its text may be cut).
std::unique_ptr<wchar_t[]> editText(HWND edit) {
  if (editFilledToCapacity(edit)) return nullptr;
  int length = GetWindowTextLengthW(edit);
  if (length < 0) length = 0;
  std::unique_ptr<wchar_t[]> text(new (std::nothrow) wchar_t[static_cast<std::size_t>(length) + 1]);
  if (text == nullptr) return nullptr;
  text[0] = 0;
  GetWindowTextW(edit, text.get(), length + 1);
  return text;
}

// The box belongs to the window whose row it is about: it stays in front of
// it, and that window takes no input while the box is open.
void warn(HWND window, const wchar_t* text, const wchar_t* caption) {
  MessageBoxW(window, text, caption, MB_OK | MB_ICONWARNING);
}

void setAddressRow(HWND window, int row) {
  const AddressRow& addressRow = kAddressRows[row];
  HWND edits[kOctetCount] = {};
  for (int i = 0; i < kOctetCount; ++i) edits[i] = settingsControl(window, addressEditIndex(row, i));
  std::unique_ptr<wchar_t[]> texts[kOctetCount];
  const wchar_t* views[kOctetCount] = {};
  for (int i = 0; i < kOctetCount; ++i) {
    texts[i] = editText(edits[i]);
    views[i] = texts[i].get();
  }
  int values[kOctetCount] = {};
  if (!validateAddressRow(views, values)) {
    warn(window, addressRow.invalidText, addressRow.invalidCaption);
    return;
  }
  for (int i = 0; i < kOctetCount; ++i) SetWindowTextW(edits[i], L"");
  addressRow.send(values[0], values[1], values[2], values[3]);
}

void setPortRow(HWND window, HWND edit) {
  std::unique_ptr<wchar_t[]> text = editText(edit);
  int value = 0;
  if (!validatePortRow(text.get(), &value)) {
    warn(window, kAddressInvalid, kAddressCaption);
    return;
  }
  SetWindowTextW(edit, L"");
  setIpPort(value);
}

void drawText(HDC dc, int x, int y, const wchar_t* text) { TextOutW(dc, x, y, text, lstrlenW(text)); }

template <typename... Args>
void drawFormatted(HDC dc, int x, int y, const wchar_t* format, Args... args) {
  wchar_t line[kTextUnits] = {};
  StringCchPrintfW(line, kTextUnits, format, args...);
  drawText(dc, x, y, line);
}

void paintLines(HDC dc) {
  const ControlState& s = controlState;
  drawFormatted(dc, 8, 8, L"Current IP address: %d.%d.%d.%d : %d", s.ipAddress[0], s.ipAddress[1], s.ipAddress[2],
                s.ipAddress[3], s.ipPort);
  drawFormatted(dc, 8, 32, L"Current subnet mask: %d.%d.%d.%d", s.subnetMask[0], s.subnetMask[1], s.subnetMask[2],
                s.subnetMask[3]);
  drawFormatted(dc, 8, 56, L"Current gateway address: %d.%d.%d.%d", s.gatewayAddress[0], s.gatewayAddress[1],
                s.gatewayAddress[2], s.gatewayAddress[3]);
  for (const Label& label : kLabels) drawText(dc, label.x, label.y, label.text);
  for (const AddressRow& row : kAddressRows) {
    for (int x : kDotXs) drawText(dc, x, row.dotY, L".");
  }
}

// Only a Network Settings window's own edits are read; a "Set" of a window
// of another kind does nothing.
bool runCommand(HWND window, int id) {
  bool own = settingsKindOf(window) == &networkSettingsKind;
  if (id == IDC_SET_PORT) {
    if (own) setPortRow(window, settingsControl(window, kPortEditIndex));
    return true;
  }
  for (int row = 0; row < kAddressRowCount; ++row) {
    if (kAddressRows[row].setId != id) continue;
    if (own) setAddressRow(window, row);
    return true;
  }
  return false;
}

void showReplyEffects(const ReplyEffects& effects) {
  if (effects.networkChanged) repaintNewestWindow(networkSettingsKind, kCurrentValueLines);
}
}  // namespace

const SettingsKind networkSettingsKind = {
    L"Network Settings", 401, 224, &newestWindow, createControls, sendOpeningQueries,
    paintLines,          runCommand, nullptr,     showReplyEffects,
};

int openNetworkSettings() { return openSettingsWindow(networkSettingsKind); }

HWND networkSettingsWindow() { return newestWindow; }
HWND ipAddressEdit(int octet) { return settingsControl(newestWindow, addressEditIndex(0, octet)); }
HWND subnetMaskEdit(int octet) { return settingsControl(newestWindow, addressEditIndex(1, octet)); }
HWND gatewayEdit(int octet) { return settingsControl(newestWindow, addressEditIndex(2, octet)); }
HWND portEdit() { return settingsControl(newestWindow, kPortEditIndex); }
