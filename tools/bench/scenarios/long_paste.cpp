#include <windows.h>

#include <string>

#include "tools/bench/scenarios/panel_scenarios.h"
#include "tools/bench/scenarios/scenario_steps.h"
#include "tools/bench/ui_probe.h"
#include "tools/panel-driver/operator_input.h"
#include "tools/panel-driver/rx_recorder.h"
#include "tools/panel-driver/unit_peer.h"
#include "tools/panel-driver/waiting.h"
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
// WM_PASTE and the longest wait of the probe on its window.
bool measureInto(HWND window, HWND edit, const std::wstring& text, int runs, PastedInto& into) {
  UiProbe probe;
  startUiProbe(probe, window);
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    SetWindowTextW(edit, L"");
    double start = nowMs();
    if (!pasteInto(edit, text)) break;
    times.push_back(nowMs() - start);
    into.kept = GetWindowTextLengthW(edit);
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
  r.ok = r.sendEdit.kept == characters && r.octetEdit.kept == characters && r.sendEdit.unansweredProbes == 0 &&
         r.octetEdit.unansweredProbes == 0;
  if (!r.ok) r.why = "an edit cut the paste, or a window did not answer within 5 s";
  return r;
}
