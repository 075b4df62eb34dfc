#pragma once
// Helpers for the main window tests: start-up variants, finding menu items,
// connecting through the "&Connect" menu, catching message boxes.
#include <windows.h>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

class SerialPeer;

// The program's own start-up; returns the main window.
HWND startPanel();

// Start-up with the discovered ports followed by extra names, so tests can
// offer ports that fail to open or to configure.
HWND startPanelWithExtraPorts(std::initializer_list<const wchar_t*> extraNames);

// Start-up with a port list of the test's own and the listing result given.
HWND startPanelWithPorts(const std::vector<std::wstring>& names, bool listingFailed);

// Id of the first menu item (any depth) whose text is text; -1 when none.
int findMenuItemId(HMENU menu, const std::wstring& text);

// Texts, ids and states of a pop-up's items, by position.
struct MenuItem {
  std::wstring text;
  int id;
  bool grayed;
  bool checked;
  bool operator==(const MenuItem& other) const {
    return text == other.text && id == other.id && grayed == other.grayed && checked == other.checked;
  }
};
std::vector<MenuItem> popupItems(HMENU popup);
std::wstring menuBarText(HMENU bar, int position);

// A child's rectangle in its parent's client coordinates.
RECT childRect(HWND control);

std::wstring consoleText();

// Chooses the "&Connect" item with the given text.
void choosePortItem(const std::wstring& portName);

// Connects through the item of the test port; returns what the peer read of
// the opening queries (42 bytes when all came).
std::string connectTestPort(SerialPeer& peer);

// The five opening queries as the unit receives them.
inline const std::string kOpeningQueries = "<BellOff>R SOURCE.R AUDIO.<BellStatus><SW>";

// Watches on its own thread for message boxes with the given caption, keeps
// the first one's text and dismisses each. whileOpen, when given, runs on the
// watching thread while the first box is open, before it is dismissed.
class MessageBoxCatcher {
 public:
  explicit MessageBoxCatcher(std::wstring caption, std::function<void()> whileOpen = nullptr);
  ~MessageBoxCatcher();
  MessageBoxCatcher(const MessageBoxCatcher&) = delete;
  MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

  // Pumps this thread's messages until a box was caught.
  bool waitCaught(int timeoutMs = 5000);
  bool caught() const { return caught_; }
  // Boxes dismissed so far.
  int count() const { return count_; }
  std::wstring text() const;

 private:
  void watch();
  std::wstring caption_;
  std::function<void()> whileOpen_;
  std::wstring text_;
  std::atomic<bool> caught_{false};
  std::atomic<int> count_{0};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// One chunk the peer read and when (milliseconds of a steady clock).
struct TimedChunk {
  double atMs;
  std::string bytes;
};

// Reads the peer on its own thread, stamping each chunk with its time.
class TimedPeerReader {
 public:
  explicit TimedPeerReader(SerialPeer& peer);
  ~TimedPeerReader();
  TimedPeerReader(const TimedPeerReader&) = delete;
  TimedPeerReader& operator=(const TimedPeerReader&) = delete;
  // Stops reading and returns the chunks.
  std::vector<TimedChunk> finish();

 private:
  SerialPeer& peer_;
  std::vector<TimedChunk> chunks_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};
