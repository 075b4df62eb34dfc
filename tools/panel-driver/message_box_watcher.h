#pragma once
// The program's message boxes are modal and wait for an operator; a run of
// the tests or the benchmarks has none. A watcher looks on a thread of its own
// for this process's boxes (with one caption, or any), keeps each one's
// caption and text, counts it and presses OK.
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class MessageBoxWatcher {
 public:
  // caption empty: every box. whileFirstOpen, when given, runs on the
  // watching thread while the first box is open, before it is dismissed.
  explicit MessageBoxWatcher(std::wstring caption = std::wstring(), std::function<void()> whileFirstOpen = nullptr);
  ~MessageBoxWatcher();
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  // Pumps this thread's messages until a box was caught.
  bool waitCaught(double timeoutMs = 5000);
  bool caught() const { return caught_; }
  // Boxes dismissed so far; counted before each is closed, so the code that
  // showed it sees the count when the box returns.
  int count() const { return count_; }
  // The first box's text; empty before one was caught.
  std::wstring text() const;
  // "Caption: text" of every box so far.
  std::vector<std::wstring> boxes() const;
  // The first box's owner window (null: none), and whether that window took
  // input while the box was open.
  HWND firstOwner() const { return firstOwner_; }
  bool firstOwnerEnabled() const { return firstOwnerEnabled_; }

 private:
  void watch();
  std::wstring caption_;
  std::function<void()> whileFirstOpen_;
  mutable std::mutex lock_;
  std::vector<std::wstring> boxes_;
  std::wstring firstText_;
  std::atomic<HWND> firstOwner_{nullptr};
  std::atomic<bool> firstOwnerEnabled_{false};
  std::atomic<bool> caught_{false};
  std::atomic<int> count_{0};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};
