#include <windows.h>

#include <functional>
#include <string>

#include "tools/bench/scenarios/panel_scenarios.h"
#include "tools/bench/scenarios/unit_traffic.h"
#include "tools/panel-driver/panel_in_process.h"
#include "tools/panel-driver/waiting.h"
#include "ui/ids.h"
#include "ui/main/main_window.h"

namespace {
constexpr int kRuns = 5;
constexpr std::size_t kDeliveryUnits = 1000;

std::wstring replyText(std::size_t units) {
  std::string bytes = replyStream(units);
  return std::wstring(bytes.begin(), bytes.end());
}

double timed(const std::function<void()>& step) {
  double start = nowMs();
  step();
  return nowMs() - start;
}

LRESULT send(UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(mainWindowState.consoleEdit, message, wParam, lParam);
}

// The pane filled to about units of reply lines, painted.
void fillPane(std::size_t units) {
  std::wstring text = replyText(units);
  send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  send(EM_SETSEL, static_cast<WPARAM>(-1), -1);
  send(EM_SCROLLCARET, 0, 0);
  UpdateWindow(mainWindowState.consoleEdit);
  pumpMessages();
}

// The edit's own steps, one at a time, each on a freshly filled pane.
PaneCostsAt measureAt(std::size_t units) {
  PaneCostsAt at;
  at.paneUnits = static_cast<long>(units);
  const std::wstring delivery = replyText(kDeliveryUnits);
  const std::wstring gathered = replyText(8 * kDeliveryUnits);
  const std::wstring echo = L"Tx> B+ OUTPUT%\r\n";
  std::vector<double> selectAll, dropSelection, caretAtEnd, replace, replaceGathered, replaceEcho, paint, trim;
  auto insert = [](const std::wstring& text) {
    return timed([&] { send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str())); });
  };
  for (int i = 0; i < kRuns; ++i) {
    fillPane(units);
    selectAll.push_back(timed([] { send(EM_SETSEL, 0, -1); }));
    dropSelection.push_back(timed([] { send(EM_SETSEL, static_cast<WPARAM>(-1), -1); }));
    caretAtEnd.push_back(timed([] {
      LRESULT length = send(WM_GETTEXTLENGTH, 0, 0);
      send(EM_SETSEL, static_cast<WPARAM>(length), length);
    }));
    replace.push_back(insert(delivery));
    paint.push_back(timed([] { UpdateWindow(mainWindowState.consoleEdit); }));
    replaceGathered.push_back(insert(gathered));
    UpdateWindow(mainWindowState.consoleEdit);
    replaceEcho.push_back(insert(echo));
    UpdateWindow(mainWindowState.consoleEdit);
    // The oldest 50,000 units (or half a smaller pane) taken off the top.
    long cut = static_cast<long>(units < 100000 ? units / 2 : 50000);
    trim.push_back(timed([&] {
      send(EM_SETSEL, 0, cut);
      send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
      UpdateWindow(mainWindowState.consoleEdit);
    }));
  }
  at.selectAllMs = spreadOf(selectAll);
  at.dropSelectionMs = spreadOf(dropSelection);
  at.caretAtEndMs = spreadOf(caretAtEnd);
  at.replaceMs = spreadOf(replace);
  at.paintMs = spreadOf(paint);
  at.gatheredMs = spreadOf(replaceGathered);
  at.echoMs = spreadOf(replaceEcho);
  at.trimMs = spreadOf(trim);
  return at;
}
}  // namespace

PaneCosts measurePaneCosts(const std::vector<long>& sizes) {
  PaneCosts r;
  if (startPanel() == nullptr) {
    r.why = "the main window was not built";
    return r;
  }
  SendMessageW(mainWindowState.mainWindow, WM_COMMAND, MAKEWPARAM(IDM_SHOW_OUTPUT, 0), 0);
  pumpFor(100);
  for (long size : sizes) r.at.push_back(measureAt(static_cast<std::size_t>(size)));
  r.ok = true;
  return r;
}
