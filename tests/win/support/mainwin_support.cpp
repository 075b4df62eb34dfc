#include "tests/win/support/mainwin_support.h"

#include <chrono>

#include "links/port_discovery.h"
#include "links/serial_link.h"
#include "protocol/control_state.h"
#include "tests/win/support/test_support.h"
#include "ui/ids.h"
#include "ui/main/main_window.h"
#include "ui/main/startup.h"

HWND startPanel() {
  startControlPanel(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
  pumpMessages();
  return mainWindowState.mainWindow;
}

HWND startPanelWithPorts(const std::vector<std::wstring>& names, bool listingFailed) {
  PortList = names;
  mainWindowState.noSerialPorts = listingFailed;
  initSerialLink();
  applyStartValues(controlState);
  createMainWindow(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
  pumpMessages();
  return mainWindowState.mainWindow;
}

HWND startPanelWithExtraPorts(std::initializer_list<const wchar_t*> extraNames) {
  discoverSerialPorts();
  std::vector<std::wstring> names = PortList;
  for (const wchar_t* name : extraNames) names.emplace_back(name);
  return startPanelWithPorts(names, false);
}

namespace {
std::wstring itemText(HMENU menu, int position) {
  wchar_t text[256] = {};
  GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
  return text;
}
}  // namespace

int findMenuItemId(HMENU menu, const std::wstring& text) {
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (HMENU sub = GetSubMenu(menu, i)) {
      int id = findMenuItemId(sub, text);
      if (id != -1) return id;
    } else if (itemText(menu, i) == text) {
      return static_cast<int>(GetMenuItemID(menu, i));
    }
  }
  return -1;
}

std::vector<MenuItem> popupItems(HMENU popup) {
  std::vector<MenuItem> items;
  int count = GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    UINT state = GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION);
    items.push_back({itemText(popup, i), static_cast<int>(GetMenuItemID(popup, i)), (state & MF_GRAYED) != 0,
                     (state & MF_CHECKED) != 0});
  }
  return items;
}

std::wstring menuBarText(HMENU bar, int position) { return itemText(bar, position); }

RECT childRect(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::wstring consoleText() { return controlText(mainWindowState.consoleEdit); }

void choosePortItem(const std::wstring& portName) {
  int id = findMenuItemId(mainWindowState.mainMenu, portName);
  SendMessageW(mainWindowState.mainWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

std::string connectTestPort(SerialPeer& peer) {
  choosePortItem(testPortName());
  return peer.readAtLeast(kOpeningQueries.size());
}

MessageBoxCatcher::MessageBoxCatcher(std::wstring caption, std::function<void()> whileOpen)
    : caption_(std::move(caption)), whileOpen_(std::move(whileOpen)) {
  thread_ = std::thread([this] { watch(); });
}

MessageBoxCatcher::~MessageBoxCatcher() {
  stop_ = true;
  thread_.join();
}

void MessageBoxCatcher::watch() {
  while (!stop_) {
    HWND box = FindWindowW(L"#32770", caption_.c_str());
    if (box == nullptr) {
      Sleep(20);
      continue;
    }
    if (!caught_) {
      // The box's own modal loop answers these while it is open.
      wchar_t text[1024] = {};
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(GetDlgItem(box, 0xFFFF), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text),
                          SMTO_ABORTIFHUNG, 2000, &ignored);
      text_ = text;
      if (whileOpen_) whileOpen_();
      caught_ = true;
    }
    // Counted before it can close, so the code that showed it sees the count.
    ++count_;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    // The next box is looked for once this one has gone.
    while (!stop_ && IsWindow(box)) Sleep(10);
  }
}

bool MessageBoxCatcher::waitCaught(int timeoutMs) {
  return waitFor([this] { return caught_.load(); }, timeoutMs);
}

std::wstring MessageBoxCatcher::text() const { return caught_ ? text_ : std::wstring(); }

TimedPeerReader::TimedPeerReader(SerialPeer& peer) : peer_(peer) {
  thread_ = std::thread([this] {
    auto start = std::chrono::steady_clock::now();
    while (!stop_) {
      std::string chunk = peer_.readAtLeast(1, 20);
      if (chunk.empty()) continue;
      std::chrono::duration<double, std::milli> at = std::chrono::steady_clock::now() - start;
      chunks_.push_back({at.count(), chunk});
    }
  });
}

TimedPeerReader::~TimedPeerReader() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

std::vector<TimedChunk> TimedPeerReader::finish() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  return chunks_;
}
