// "Network Settings": the unit's current network values as painted lines, and
// four rows of edits whose "Set" buttons check the row and send it.
#include <windows.h>
#include <strsafe.h>

#include <memory>
#include <new>

#include "protocol/command_set.h"
#include "protocol/control_state.h"
#include "protocol/network_rows.h"
#include "ui/ids.h"
#include "ui/settings/settings_frame.h"
#include "ui/settings/settings_windows.h"

namespace {
constexpr int kClientWidth = 401;
constexpr int kClientHeight = 224;
constexpr int kTextUnits = 128;
constexpr int kQueryPauseMs = 100;

constexpr int kOctetLeft = 161;
constexpr int kOctetStep = 48;
constexpr int kEditWidth = 40;
constexpr int kRowHeight = 25;
constexpr int kEditIdStep = 4;
constexpr DWORD kEditStyle = WS_BORDER | ES_NUMBER;   // no ES_AUTOHSCROLL: an edit takes what fits
constexpr DWORD kButtonStyle = WS_TABSTOP | BS_DEFPUSHBUTTON;

constexpr wchar_t kAddressInvalid[] = L"The IP address entered is not valid.";
constexpr wchar_t kAddressCaption[] = L"Invalid IP Address";

// Row order here is the order of the record's addressEdits.
struct AddressRow {
  int firstEditId;
  int editY;
  int setId;
  HWND (ControlState::*stateEdits)[kOctetCount];
  int (*send)(int a, int b, int c, int d);
  const wchar_t* invalidText;
  const wchar_t* invalidCaption;
  int dotY;
};

const AddressRow kAddressRows[kAddressRowCount] = {
    {IDC_IP_ADDRESS_EDIT, 92, IDC_SET_IP_ADDRESS, &ControlState::ipAddressEdits, setIpAddress, kAddressInvalid,
     kAddressCaption, 101},
    {IDC_SUBNET_MASK_EDIT, 158, IDC_SET_SUBNET_MASK, &ControlState::subnetMaskEdits, setSubnetMask,
     L"The subnet mask entered is not valid.", L"Invalid subnet", 167},
    {IDC_GATEWAY_EDIT, 191, IDC_SET_GATEWAY, &ControlState::gatewayEdits, setGatewayAddress, kAddressInvalid,
     kAddressCaption, 200},
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

int octetX(int column) { return kOctetLeft + kOctetStep * column; }

void createEdits(HWND window, SettingsWindowRecord* record) {
  for (int column = 0; column < kOctetCount; ++column) {
    for (int row = 0; row < kAddressRowCount; ++row) {
      const AddressRow& addressRow = kAddressRows[row];
      HWND edit = createSettingsControl(window, L"Edit", L"", kEditStyle, addressRow.firstEditId + kEditIdStep * column,
                                        octetX(column), addressRow.editY, kEditWidth, kRowHeight);
      (controlState.*addressRow.stateEdits)[column] = edit;
      if (record != nullptr) record->addressEdits[row][column] = edit;
      setControlFont(edit, controlState.fixedFont, false);
    }
  }
  HWND port = createSettingsControl(window, L"Edit", L"", kEditStyle, IDC_PORT_EDIT, kPortRow.editX, kPortRow.editY,
                                    kPortRow.editWidth, kRowHeight);
  controlState.portEdit = port;
  if (record != nullptr) record->portEdit = port;
  setControlFont(port, controlState.fixedFont, false);
}

void createButtons(HWND window) {
  for (const SetButton& button : kSetButtons) {
    HWND control = createSettingsControl(window, L"BUTTON", L"Set", kButtonStyle, button.id, button.x, button.y,
                                         kEditWidth, kRowHeight);
    setControlFont(control, controlState.uiFont, false);
  }
}

void sendOpeningQueries() {
  int (*const queries[])() = {readIpAddress, readIpPort, readSubnetMask, readGatewayAddress};
  bool first = true;
  for (auto query : queries) {
    if (!first) Sleep(kQueryPauseMs);   // the unit wants a pause between these
    first = false;
    query();
  }
}

// An edit's text in memory of its own size; null when none could be had, which
// reads as an empty edit.
std::unique_ptr<wchar_t[]> editText(HWND edit) {
  int length = GetWindowTextLengthW(edit);
  if (length < 0) length = 0;
  std::unique_ptr<wchar_t[]> text(new (std::nothrow) wchar_t[static_cast<std::size_t>(length) + 1]);
  if (text == nullptr) return nullptr;
  text[0] = 0;
  GetWindowTextW(edit, text.get(), length + 1);
  return text;
}

void warn(const wchar_t* text, const wchar_t* caption) {
  MessageBoxW(nullptr, text, caption, MB_OK | MB_ICONWARNING);
}

void setAddressRow(const AddressRow& addressRow, HWND const edits[kOctetCount]) {
  std::unique_ptr<wchar_t[]> texts[kOctetCount];
  const wchar_t* views[kOctetCount] = {};
  for (int i = 0; i < kOctetCount; ++i) {
    texts[i] = editText(edits[i]);
    views[i] = texts[i].get();
  }
  int values[kOctetCount] = {};
  if (!validateAddressRow(views, values)) {
    warn(addressRow.invalidText, addressRow.invalidCaption);
    return;
  }
  for (int i = 0; i < kOctetCount; ++i) SetWindowTextW(edits[i], L"");
  addressRow.send(values[0], values[1], values[2], values[3]);
}

void setPortRow(HWND edit) {
  std::unique_ptr<wchar_t[]> text = editText(edit);
  int value = 0;
  if (!validatePortRow(text.get(), &value)) {
    warn(kAddressInvalid, kAddressCaption);
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
}  // namespace

int openNetworkSettings() {
  HWND window = beginSettingsWindow(SettingsKind::Network, L"Network Settings", kClientWidth, kClientHeight,
                                    &controlState.networkSettingsWindow);
  if (window == nullptr) return 1;
  createEdits(window, settingsRecord(window));
  createButtons(window);
  sendOpeningQueries();
  finishSettingsWindow(window);
  return 0;
}

void paintNetworkTexts(HDC dc) {
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

bool runNetworkCommand(SettingsWindowRecord* record, int id) {
  // Only a Network Settings window's own edits are read.
  bool own = record != nullptr && record->kind == SettingsKind::Network;
  if (id == IDC_SET_PORT) {
    if (own) setPortRow(record->portEdit);
    return true;
  }
  for (int row = 0; row < kAddressRowCount; ++row) {
    if (kAddressRows[row].setId != id) continue;
    if (own) setAddressRow(kAddressRows[row], record->addressEdits[row]);
    return true;
  }
  return false;
}

void forgetNetworkWindow(HWND window) {
  if (controlState.networkSettingsWindow == window) controlState.networkSettingsWindow = nullptr;
  // The children still exist while their parent handles WM_DESTROY.
  auto forget = [window](HWND& field) {
    if (field != nullptr && GetParent(field) == window) field = nullptr;
  };
  for (const AddressRow& row : kAddressRows) {
    for (HWND& edit : controlState.*row.stateEdits) forget(edit);
  }
  forget(controlState.portEdit);
}
