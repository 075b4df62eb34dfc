#include <windows.h>

#include <string>

#include "tools/bench/scenarios/panel_scenarios.h"
#include "tools/bench/scenarios/scenario_steps.h"
#include "tools/bench/ui_probe.h"
#include "tools/panel-driver/operator_input.h"
#include "tools/panel-driver/rx_recorder.h"
#include "tools/panel-driver/unit_peer.h"
#include "tools/panel-driver/waiting.h"
#include "ui/main/control_enabling.h"
#include "ui/main/main_window.h"
#include "ui/settings/network_settings.h"

namespace {
// Digits, so the octet edits (digits only when typed) take the same text.
std::wstring digitText(int characters) {
  std::wstring text;
  for (int i = 0; i < characters; ++i) text += static_cast<wchar_t>(L'0' + i % 10);
  return text;
}

// Pastes into edit, runs times, each into an emptied edit; the time of each
// WM_PASTE with the edit's paint after it, and the longest wait of the probe
// on its window.
bool measureInto(HWND window, HWND edit, const std::wstring& text, int runs, PastedInto& into) {
  UiProbe probe;
  startUiProbe(probe, window);
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    SetWindowTextW(edit, L"");
    double start = nowMs();
    if (!pasteInto(edit, text)) break;
    RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    times.push_back(nowMs() - start);
    into.kept = GetWindowTextLengthW(edit);
    into.capacity = static_cast<int>(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
    pumpMessages();
  }
  stopUiProbe(probe);
  into.pasteMs = spreadOf(times);
  into.longestUiWaitMs = probe.longestMs;
  into.unansweredProbes = probe.unanswered;
  SetWindowTextW(edit, L"");
  return static_cast<int>(times.size()) == runs;
}
}  // namespace

LongPaste measureLongPaste(const PanelPorts& ports, int characters, int runs) {
  LongPaste r;
  r.characters = characters;
  UnitPeer peer;
  RxRecorder rx;
  rx.keepEach = false;
  if (!startPanelWithPeer(ports, peer, rx, true, &r.why)) return r;
  const std::wstring text = digitText(characters);
  toggleOutputPane();   // the Send row is painted, as the operator sees it
  if (!measureInto(mainWindowState.mainWindow, mainWindowState.sendEdit, text, runs, r.sendEdit)) {
    r.why = "the clipboard could not be set";
    return r;
  }
  openNetworkSettings();
  peer.readUntilQuiet();
  if (!measureInto(networkSettingsWindow(), ipAddressEdit(0), text, runs, r.octetEdit)) {
    r.why = "the clipboard could not be set";
    return r;
  }
  peer.close();
  r.ok = true;
  for (const PastedInto* into : {&r.sendEdit, &r.octetEdit}) {
    int expected = characters < into->capacity ? characters : into->capacity;
    if (into->kept != expected || into->unansweredProbes != 0) r.ok = false;
  }
  if (!r.ok) r.why = "an edit kept another text than the paste up to its capacity, or a window did not answer in 5 s";
  return r;
}
