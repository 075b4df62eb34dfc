#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include "tools/bench/process_counts.h"
#include "tools/bench/scenarios/panel_scenarios.h"
#include "tools/bench/scenarios/scenario_steps.h"
#include "tools/bench/scenarios/unit_traffic.h"
#include "tools/bench/ui_probe.h"
#include "tools/panel-driver/operator_input.h"
#include "tools/panel-driver/panel_in_process.h"
#include "tools/panel-driver/rx_recorder.h"
#include "tools/panel-driver/unit_peer.h"
#include "tools/panel-driver/waiting.h"
#include "ui/main/main_window.h"

namespace {
const std::string kClickCommand = "B+ OUTPUT%";   // what "HDMI Vol+" puts on the wire
const std::wstring kClickEcho = L"Tx> B+ OUTPUT%\r\n";
constexpr std::size_t kFastStep = 4096;
constexpr double kLastMinuteMs = 60000;
constexpr double kDrainQuietMs = 15000;

// The unit's end, on one thread that owns the port: the preload as fast as
// the line takes it, then the stream at its rate, reading what the panel
// sends in between and stamping each click's command as it arrives.
struct Unit {
  UnitPeer* peer = nullptr;
  const std::string* stream = nullptr;
  std::size_t preload = 0;
  double bytesPerSecond = 0;
  std::atomic<unsigned long long> written{0};
  std::atomic<bool> preloadDone{false};
  std::atomic<bool> startStream{false};
  std::atomic<bool> done{false};
  std::atomic<bool> stop{false};
  double streamStartMs = 0, streamEndMs = 0;
  std::mutex lock;
  std::vector<double> arrivals;   // nowMs of each click command seen
  std::string heard;              // what came, less the commands already counted
};

void listen(Unit* u) {
  std::string got = u->peer->readAvailable();
  if (got.empty()) return;
  double now = nowMs();
  std::lock_guard<std::mutex> hold(u->lock);
  u->heard += got;
  for (std::size_t at; (at = u->heard.find(kClickCommand)) != std::string::npos;) {
    u->arrivals.push_back(now);
    u->heard.erase(0, at + kClickCommand.size());
  }
  if (u->heard.size() > kClickCommand.size()) u->heard.erase(0, u->heard.size() - kClickCommand.size());
}

void playUnit(Unit* u) {
  std::size_t sent = 0;
  for (; sent < u->preload && !u->stop; sent += kFastStep) {
    std::size_t n = std::min(kFastStep, u->preload - sent);
    if (!u->peer->write(u->stream->data() + sent, n)) break;
    u->written = sent + n;
    listen(u);
  }
  sent = u->written;
  u->preloadDone = true;
  while (!u->startStream && !u->stop) Sleep(5);
  u->streamStartMs = nowMs();
  while (sent < u->stream->size() && !u->stop) {
    if (!writeDueBytes(*u->peer, *u->stream, u->streamStartMs, u->bytesPerSecond, u->preload, &sent)) break;
    u->written = sent;
    listen(u);
  }
  u->streamEndMs = nowMs();
  u->done = true;
  while (!u->stop) {
    listen(u);
    Sleep(2);
  }
}

// The operator's hand: a mouse click on a point of the window every so often
// while the stream lasts, from a thread of its own, whatever the window's
// thread is busy with.
struct Clicker {
  HWND window = nullptr;
  POINT at{};
  double everyMs = 0;
  std::atomic<bool> stop{false};
  std::vector<double> clicks;   // nowMs of each click
};

void clickAlong(Clicker* c, const Unit* u) {
  double next = nowMs() + c->everyMs / 2;
  while (!c->stop && !u->done) {
    if (nowMs() < next) {
      Sleep(5);
      continue;
    }
    c->clicks.push_back(nowMs());
    clickWithMouse(c->window, c->at.x, c->at.y);
    next += c->everyMs;
  }
}

// Times every insertion into the pane (the gathered text, an echo, and the
// removal of the oldest lines): what the pane holds the UI thread for.
constexpr UINT_PTR kPaneTimerId = 0x5054;
LRESULT CALLBACK timeInsertions(HWND pane, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR times) {
  if (message != EM_REPLACESEL) return DefSubclassProc(pane, message, wParam, lParam);
  double start = nowMs();
  LRESULT result = DefSubclassProc(pane, message, wParam, lParam);
  reinterpret_cast<std::vector<double>*>(times)->push_back(nowMs() - start);
  return result;
}

// The pane's last line with text in it ends with marker (the pane wraps its
// lines; the marker is shorter than one row).
bool paneEndsWith(const std::wstring& marker) {
  HWND pane = mainWindowState.consoleEdit;
  LRESULT lines = SendMessageW(pane, EM_GETLINECOUNT, 0, 0);
  for (LRESULT line = lines - 1; line >= 0 && line >= lines - 2; --line) {
    wchar_t text[256] = {};
    text[0] = static_cast<wchar_t>(255);
    LRESULT units = SendMessageW(pane, EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(text));
    if (units == 0) continue;
    std::wstring row(text, static_cast<std::size_t>(units));
    return row.size() >= marker.size() && row.compare(row.size() - marker.size(), marker.size(), marker) == 0;
  }
  return false;
}

ProcessSample sampleProcess() {
  return ProcessSample{ownWorkingSetBytes(), ownHandleTableCount(), ownThreadCount()};
}

}  // namespace

ClicksUnderStream measureClicksUnderStream(const PanelPorts& ports, unsigned long long preloadBytes, double seconds,
                                           double bytesPerSecond, double clickEveryMs) {
  ClicksUnderStream r;
  r.preloadBytes = preloadBytes;
  r.seconds = seconds;
  r.rateBytesPerSecond = bytesPerSecond;
  UnitPeer peer;
  RxRecorder rx;
  if (!startPanelWithPeer(ports, peer, rx, true, &r.why)) return r;
  rx.reset();
  const std::string marker = "end of the stream";
  std::string stream = replyStream(static_cast<std::size_t>(preloadBytes + seconds * bytesPerSecond));
  stream += "\r\n" + marker + "\r\n";
  // Every delivered text against the stream, in order, as it comes.
  InOrder order{&stream};
  rx.onDelivery = [&](const RxDelivery& delivery) {
    order.take(delivery.text);
    rx.deliveries.clear();
  };

  Unit unit;
  unit.peer = &peer;
  unit.stream = &stream;
  unit.preload = static_cast<std::size_t>(preloadBytes);
  unit.bytesPerSecond = bytesPerSecond;
  std::thread playing(playUnit, &unit);
  double preloadStart = nowMs();
  waitFor([&] { return unit.preloadDone && rx.countedBytes >= unit.written; }, 3600000);
  r.preloadSeconds = (nowMs() - preloadStart) / 1000.0;
  r.paneUnitsAfterPreload = paneLength();

  UiProbe probe;
  startUiProbe(probe, mainWindowState.mainWindow);
  RECT button{};
  GetWindowRect(mainWindowState.hdmiVolUpButton, &button);
  MapWindowPoints(nullptr, mainWindowState.mainWindow, reinterpret_cast<POINT*>(&button), 2);
  Clicker clicker;
  clicker.window = mainWindowState.mainWindow;
  clicker.at = POINT{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
  clicker.everyMs = clickEveryMs;
  std::vector<double> insertions;
  SetWindowSubclass(mainWindowState.consoleEdit, timeInsertions, kPaneTimerId, reinterpret_cast<DWORD_PTR>(&insertions));
  unit.startStream = true;
  std::thread clicking(clickAlong, &clicker, &unit);
  r.start = sampleProcess();
  waitFor([&] { return unit.done.load(); }, seconds * 1000 + 3600000);
  r.end = sampleProcess();
  clicker.stop = true;
  clicking.join();
  const std::vector<double>& clicks = clicker.clicks;
  // The stream's last line in the pane, or nothing moving for a long while.
  const std::wstring wideMarker(marker.begin(), marker.end());
  unsigned long long seen = 0;
  double lastMove = nowMs();
  bool shown = waitFor([&] {
    if (rx.countedBytes != seen) {
      seen = rx.countedBytes;
      lastMove = nowMs();
    }
    return paneEndsWith(wideMarker) || nowMs() - lastMove > kDrainQuietMs;
  }, 600000) && paneEndsWith(wideMarker);
  r.lastLineMs = shown ? nowMs() - unit.streamEndMs : -1;
  // Every click's command has come, or will not.
  waitFor([&] {
    std::lock_guard<std::mutex> hold(unit.lock);
    return unit.arrivals.size() >= clicks.size();
  }, 10000);
  stopUiProbe(probe);
  RemoveWindowSubclass(mainWindowState.consoleEdit, timeInsertions, kPaneTimerId);
  r.insertionMs = spreadOf(insertions);
  unit.stop = true;
  playing.join();

  r.written = unit.written;
  r.counted = rx.countedBytes;
  r.inOrder = order.matched;
  r.deliveries = rx.handled;
  r.streamSeconds = (unit.streamEndMs - unit.streamStartMs) / 1000.0;
  r.achievedBytesPerSecond = r.streamSeconds > 0 ? (unit.written - preloadBytes) / r.streamSeconds : 0;
  r.longestUiWaitMs = probe.longestMs;
  r.unansweredProbes = probe.unanswered;
  r.clicks = static_cast<int>(clicks.size());
  std::vector<double> waits, lastMinute;
  for (std::size_t i = 0; i < clicks.size() && i < unit.arrivals.size(); ++i) {
    waits.push_back(unit.arrivals[i] - clicks[i]);
    if (clicks[i] >= unit.streamEndMs - kLastMinuteMs) lastMinute.push_back(unit.arrivals[i] - clicks[i]);
  }
  r.clicksOnWire = static_cast<int>(unit.arrivals.size());
  r.clickMs = spreadOf(waits);
  r.lastMinuteClickMs = spreadOf(lastMinute);
  // The pane holds the newest of the stream, in order, once the bench's own
  // lines are taken out.
  std::wstring pane = paneText();
  r.paneUnits = static_cast<long>(pane.size());
  r.echoesInPane = countOf(pane, kClickEcho);
  long long tail = paneHoldsTheStreamTail(pane, stream);
  r.paneIsStreamTail = tail >= 0;
  r.paneTailUnits = tail >= 0 ? static_cast<std::size_t>(tail) : 0;
  r.ok = shown && r.counted == r.written && r.inOrder == r.written && r.written == stream.size() &&
         r.clicksOnWire == r.clicks && r.paneIsStreamTail;
  if (!r.ok && r.why.empty()) r.why = shown ? "bytes or clicks went missing" : "the stream's last line never showed";
  peer.close();
  return r;
}
