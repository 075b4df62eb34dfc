// With the heap refusing, the paths that window procedures run fail the way
// their callers already handle, and no exception leaves them. This program's
// operator new refuses on request, so every allocation of the C++ library
// fails as it would when memory runs out.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "links/port_discovery.h"
#include "links/serial_link.h"
#include "tests/support/controls_and_menus.h"
#include "tests/support/panel_fixtures.h"

namespace {
std::atomic<bool> refuseAllocations{false};

// Refuses every allocation while it lives; an exception is caught here, so
// the test sees whether one left the code under test.
template <typename Action>
bool throwsWithoutMemory(Action action) {
  bool threw = false;
  refuseAllocations = true;
  try {
    action();
  } catch (...) {
    threw = true;
  }
  refuseAllocations = false;
  return threw;
}
}  // namespace

void* operator new(std::size_t size) {
  if (refuseAllocations) throw std::bad_alloc();
  if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
  throw std::bad_alloc();
}
// The pair above and below are this program's own: what it allocates with
// malloc it frees with free.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
#pragma GCC diagnostic pop

namespace {
class ConnectedWithoutMemory : public ConnectedPanelTest {};

TEST_F(ConnectedWithoutMemory, SendSendsNothingAndKeepsTheText) {
  SetWindowTextW(mainWindowState.sendEdit, L"AB");
  const std::wstring before = paneText();
  EXPECT_FALSE(throwsWithoutMemory([] { sendFreeText(); }));
  EXPECT_EQ(windowText(mainWindowState.sendEdit), L"AB");
  EXPECT_EQ(paneText(), before);
  expectNothingSent();
}

// Formatting needs no memory; the write that finds none fails like any other
// write, and the echo still shows what was tried.
TEST_F(ConnectedWithoutMemory, ACommandIsFormattedAndEchoed) {
  const std::wstring before = paneText();
  EXPECT_FALSE(throwsWithoutMemory([] { selectVideoInput(3); }));
  EXPECT_EQ(paneText(), before + L"Tx> S SOURCE 3.\r\n");
}

// A connect needs no memory of its own: the port opens by its listed name and
// the unit is asked for its state.
TEST_F(ConnectedWithoutMemory, AConnectNeedsNoMemory) {
  int item = findMenuItemId(mainWindowState.mainMenu, testPortName());
  ASSERT_NE(item, -1);
  EXPECT_FALSE(throwsWithoutMemory([item] { connectToPort(item - 800); }));
  EXPECT_EQ(peer.readAtLeast(kOpeningQueries.size()), kOpeningQueries);
  EXPECT_TRUE(serialLink.portOpen);
  EXPECT_TRUE(IsWindowEnabled(mainWindowState.sendButton));
}

TEST(PortListingWithoutMemory, FailsWithTheOutOfMemoryCode) {
  HKEY key = nullptr;
  const wchar_t* path = L"Software\\VrxTest\\ports-without-memory";
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const wchar_t port[] = L"COM7";
  RegSetValueExW(key, L"\\Device\\Serial0", 0, REG_SZ, reinterpret_cast<const BYTE*>(port), sizeof port);
  std::vector<std::wstring> names;
  bool listed = true;
  DWORD cause = 0;
  EXPECT_FALSE(throwsWithoutMemory([&] {
    listed = CEnumerateSerial::UsingRegistryKey(key, names);
    cause = GetLastError();
  }));
  RegCloseKey(key);
  RegDeleteKeyW(HKEY_CURRENT_USER, path);
  EXPECT_FALSE(listed);
  EXPECT_EQ(cause, static_cast<DWORD>(ERROR_OUTOFMEMORY));
  EXPECT_TRUE(names.empty());
}
}  // namespace
