#include "tools/bench/scenarios/scenario_steps.h"

#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "links/serial_link.h"
#include "tools/panel-driver/panel_in_process.h"
#include "tools/panel-driver/rx_recorder.h"
#include "tools/panel-driver/session_environment.h"
#include "tools/panel-driver/timing.h"
#include "tools/panel-driver/unit_peer.h"
#include "tools/panel-driver/waiting.h"
#include "ui/ids.h"
#include "ui/main/main_window.h"

namespace {
constexpr double kQuietMs = 300;
constexpr double kShowPaneMs = 100;

// Bytes a run before this one left on the line (a pty pair outlives its
// programs) would open this run's traffic; they are read away first.
void drainPort(const std::wstring& name) {
  UnitPeer port;
  if (port.open(name)) port.readUntilQuiet(kQuietMs);
}

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }
}  // namespace

PanelPorts sessionTestPorts() { return {testPortName(), testPeerName()}; }

PanelPorts sessionUnplugPorts() { return {unplugPortName(), unplugPeerName()}; }

bool startConnectedPanel(const PanelPorts& ports, RxRecorder& rx, std::string* why) {
  drainPort(ports.program);
  if (startPanel() == nullptr) {
    *why = "the main window was not built";
    return false;
  }
  rx.watch(mainWindowState.mainWindow);
  // The operator watches the traffic: the output pane is shown.
  SendMessageW(mainWindowState.mainWindow, WM_COMMAND, MAKEWPARAM(IDM_SHOW_OUTPUT, 0), 0);
  pumpFor(kShowPaneMs);
  int index = listedPortIndex(ports.program);
  if (index < 0) {
    *why = narrow(ports.program) + " is not in the program's port list";
    return false;
  }
  connectToPort(index);
  if (!serialLink.portOpen) {
    *why = "connectToPort did not open " + narrow(ports.program);
    return false;
  }
  return true;
}

bool startPanelWithPeer(const PanelPorts& ports, UnitPeer& peer, RxRecorder& rx, bool settle, std::string* why) {
  if (!peer.open(ports.peer)) {
    *why = "cannot open the peer port";
    return false;
  }
  if (!startConnectedPanel(ports, rx, why)) return false;
  // The opening queries, read off the line once all have come.
  if (settle && peer.readAtLeast(kOpeningQueries.size()) != kOpeningQueries) {
    *why = "the opening queries did not arrive";
    return false;
  }
  return true;
}

long countOf(const std::wstring& text, const std::wstring& needle) {
  long count = 0;
  for (std::size_t at = text.find(needle); at != std::wstring::npos; at = text.find(needle, at + needle.size())) {
    ++count;
  }
  return count;
}

std::wstring receivedTextFrom(const std::wstring& pane, std::size_t offset) {
  std::wstring received;
  received.reserve(pane.size());
  const std::wstring prefix = L"Rx>";
  std::size_t at = offset;
  while (at < pane.size()) {
    std::size_t next = pane.find(prefix, at);
    if (next == std::wstring::npos) next = pane.size();
    received.append(pane, at, next - at);
    at = next + prefix.size();
  }
  return received;
}

std::size_t commonPrefix(const std::wstring& a, const std::wstring& b) {
  std::size_t n = 0;
  while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
  return n;
}

void removeLines(std::wstring& text, const std::wstring& prefix) {
  for (std::size_t at; (at = text.find(prefix)) != std::wstring::npos;) {
    std::size_t end = text.find(L"\r\n", at);
    text.erase(at, end == std::wstring::npos ? std::wstring::npos : end + 2 - at);
  }
}

std::size_t bytesDueNow(double startMs, double bytesPerSecond, std::size_t ahead, std::size_t total) {
  double due = static_cast<double>(ahead) + (nowMs() - startMs) / 1000.0 * bytesPerSecond;
  return due >= static_cast<double>(total) ? total : static_cast<std::size_t>(due);
}

bool writeDueBytes(UnitPeer& peer, const std::string& stream, double startMs, double bytesPerSecond,
                   std::size_t ahead, std::size_t* sent) {
  std::size_t target = bytesDueNow(startMs, bytesPerSecond, ahead, stream.size());
  if (target <= *sent) {
    Sleep(2);
    return true;
  }
  if (!peer.write(stream.data() + *sent, target - *sent)) return false;
  *sent = target;
  return true;
}

long long awaitStreamTailInPane(const std::string& stream, unsigned long long written, std::wstring* pane) {
  const std::string received = stream.substr(0, static_cast<std::size_t>(written));
  long long tail = -1;
  waitFor([&] {
    *pane = paneText();
    tail = paneHoldsTheStreamTail(*pane, received);
    return tail >= 0 && pane->find(L"Rx>") != std::wstring::npos;
  });
  return tail;
}

long long paneHoldsTheStreamTail(const std::wstring& pane, const std::string& stream) {
  std::wstring own = pane;
  removeLines(own, L"Tx> ");
  removeLines(own, L"System> ");
  std::wstring received = receivedTextFrom(own, 0);
  std::wstring wide(stream.begin(), stream.end());
  if (received.size() > wide.size()) return -1;
  if (wide.compare(wide.size() - received.size(), received.size(), received) != 0) return -1;
  return static_cast<long long>(received.size());
}

void InOrder::take(const std::wstring& text) {
  for (wchar_t unit : text) {
    if (!broken && matched < stream->size() && unit == static_cast<unsigned char>((*stream)[matched])) {
      ++matched;
    } else {
      broken = true;
    }
  }
}

namespace {
constexpr UINT_PTR kPaneWatchId = 0x5049;   // "PI"
}  // namespace

PaneInsertions::PaneInsertions(std::vector<std::wstring> needles)
    : needles_(std::move(needles)), insertions_(needles_.size()), found_(needles_.size()) {
  if (SetWindowSubclass(mainWindowState.consoleEdit, watch, kPaneWatchId, reinterpret_cast<DWORD_PTR>(this))) {
    pane_ = mainWindowState.consoleEdit;
  }
}

PaneInsertions::~PaneInsertions() {
  if (pane_ != nullptr && IsWindow(pane_)) RemoveWindowSubclass(pane_, watch, kPaneWatchId);
}

LRESULT CALLBACK PaneInsertions::watch(HWND pane, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR self) {
  auto* counter = reinterpret_cast<PaneInsertions*>(self);
  if (message == EM_REPLACESEL && lParam != 0) {
    std::wstring text = reinterpret_cast<const wchar_t*>(lParam);
    for (std::size_t i = 0; i < counter->needles_.size(); ++i) {
      long n = countOf(text, counter->needles_[i]);
      counter->found_[i] += n;
      if (n > 0) ++counter->insertions_[i];
    }
  }
  return DefSubclassProc(pane, message, wParam, lParam);
}
