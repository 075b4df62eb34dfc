#include "tools/panel-driver/message_box_watcher.h"

#include <windows.h>

#include "tools/panel-driver/waiting.h"

namespace {
constexpr DWORD kLookEveryMs = 20;
constexpr DWORD kGoneLookMs = 10;
constexpr UINT kTextLimitMs = 2000;
constexpr int kClassUnits = 16;
constexpr int kCaptionUnits = 128;
constexpr int kTextUnits = 1024;

struct BoxSearch {
  const std::wstring* caption;
  HWND found;
};

BOOL CALLBACK matchBox(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<BoxSearch*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t className[kClassUnits] = {};
  GetClassNameW(window, className, kClassUnits);
  // A box is shown once its text is in place and its modal loop runs.
  if (process != GetCurrentProcessId() || lstrcmpW(className, L"#32770") != 0 || !IsWindowVisible(window))
    return TRUE;
  // Read without a message: the box's thread may be busy.
  wchar_t caption[kCaptionUnits] = {};
  InternalGetWindowText(window, caption, kCaptionUnits);
  if (!search->caption->empty() && *search->caption != caption) return TRUE;
  search->found = window;
  return FALSE;
}

// The box's own modal loop answers this while it is open.
std::wstring textOf(HWND window, int units) {
  std::wstring text(static_cast<std::size_t>(units), L'\0');
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, static_cast<WPARAM>(units), reinterpret_cast<LPARAM>(&text[0]),
                      SMTO_ABORTIFHUNG, kTextLimitMs, &ignored);
  text.resize(wcslen(text.c_str()));
  return text;
}
}  // namespace

MessageBoxWatcher::MessageBoxWatcher(std::wstring caption, std::function<void()> whileFirstOpen)
    : caption_(std::move(caption)), whileFirstOpen_(std::move(whileFirstOpen)) {
  thread_ = std::thread([this] { watch(); });
}

MessageBoxWatcher::~MessageBoxWatcher() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

void MessageBoxWatcher::watch() {
  while (!stop_) {
    BoxSearch search{&caption_, nullptr};
    EnumWindows(matchBox, reinterpret_cast<LPARAM>(&search));
    HWND box = search.found;
    if (box == nullptr) {
      Sleep(kLookEveryMs);
      continue;
    }
    std::wstring text = textOf(GetDlgItem(box, 0xFFFF), kTextUnits);
    std::wstring seen = textOf(box, kCaptionUnits) + L": " + text;
    while (!seen.empty() && (seen.back() == L'\n' || seen.back() == L'\r' || seen.back() == L' ')) seen.pop_back();
    {
      std::lock_guard<std::mutex> hold(lock_);
      boxes_.push_back(seen);
      if (!caught_) firstText_ = text;
    }
    if (!caught_) {
      HWND owner = GetWindow(box, GW_OWNER);
      firstOwner_ = owner;
      firstOwnerEnabled_ = owner != nullptr && IsWindowEnabled(owner);
      if (whileFirstOpen_) whileFirstOpen_();
      caught_ = true;
    }
    ++count_;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    // The next box is looked for once this one has gone.
    while (!stop_ && IsWindow(box)) Sleep(kGoneLookMs);
  }
}

bool MessageBoxWatcher::waitCaught(double timeoutMs) {
  return waitFor([this] { return caught_.load(); }, timeoutMs);
}

std::wstring MessageBoxWatcher::text() const {
  std::lock_guard<std::mutex> hold(lock_);
  return caught_ ? firstText_ : std::wstring();
}

std::vector<std::wstring> MessageBoxWatcher::boxes() const {
  std::lock_guard<std::mutex> hold(lock_);
  return boxes_;
}
