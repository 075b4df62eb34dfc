#include "tests/win/support/settings_support.h"

#include <cstdint>

#include "protocol/control_state.h"
#include "tests/win/support/mainwin_support.h"
#include "ui/main/main_window.h"
#include "ui/settings/network_settings.h"
#include "ui/settings/output_video_settings.h"
#include "ui/settings/vga_image_adjustments.h"

ConnectedPanelTest::ConnectedPanelTest() : peer(testPeerName()) {}

void ConnectedPanelTest::SetUp() {
  ASSERT_TRUE(peer.isOpen()) << "error " << GetLastError();
  ASSERT_NE(startPanel(), nullptr);
  ASSERT_EQ(connectTestPort(peer), kOpeningQueries);
  peer.readUntilQuiet(200);
}

HWND ConnectedPanelTest::openThroughMenu(int menuId) {
  SendMessageW(mainWindowState.mainWindow, WM_COMMAND, MAKEWPARAM(menuId, 0), 0);
  pumpMessages();
  switch (menuId) {
    case 3001:
      return outputVideoSettingsWindow();
    case 4002:
      return vgaImageAdjustmentsWindow();
    case 3003:
      return networkSettingsWindow();
    default:
      return nullptr;
  }
}

void ConnectedPanelTest::reply(const std::string& text) {
  ASSERT_TRUE(peer.write(text));
  std::wstring echo = L"Rx>" + std::wstring(text.begin(), text.end());
  ASSERT_TRUE(waitFor([&] { return consoleText().find(echo) != std::wstring::npos; })) << text;
}

std::string onWire(const std::string& text, int n) {
  std::string bytes = text;
  bytes.resize(static_cast<std::size_t>(n - 1), '\0');
  return bytes;
}

ControlFacts controlFacts(HWND control) {
  wchar_t className[64] = {};
  GetClassNameW(control, className, 64);
  return {className,
          controlText(control),
          childRect(control),
          GetDlgCtrlID(control),
          static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE)),
          reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0))};
}

std::vector<HWND> childrenInCreationOrder(HWND window) {
  // A new child goes to the bottom of its siblings' order.
  std::vector<HWND> children;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

void clickButton(HWND button) {
  SendMessageW(button, BM_CLICK, 0, 0);
  pumpMessages();
}

namespace {
// A top-down 32-bit picture of width x height pixels.
struct Picture {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  std::uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;

  Picture(int w, int h) : width(w), height(h) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc = CreateCompatibleDC(nullptr);
    void* pixels = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    bits = static_cast<std::uint32_t*>(pixels);
    old = SelectObject(dc, bitmap);
  }
  ~Picture() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
  std::uint32_t at(int x, int y) const { return bits[y * width + x] & 0xFFFFFFu; }
};

void copyClient(HWND window, const RECT& area, Picture& into) {
  UpdateWindow(window);
  GdiFlush();
  HDC dc = GetDC(window);
  BitBlt(into.dc, 0, 0, into.width, into.height, dc, area.left, area.top, SRCCOPY);
  ReleaseDC(window, dc);
  GdiFlush();
}

// Pixel value of a colour in a 32-bit DIB (blue in the low byte).
std::uint32_t dibColour(COLORREF colour) {
  return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}
}  // namespace

bool showsLine(HWND window, int x, int y, const std::wstring& text, int right) {
  RECT client{};
  GetClientRect(window, &client);
  if (right < 0) right = client.right;
  Picture expected(right - x, 32);
  HBRUSH menu = GetSysColorBrush(COLOR_MENU);
  RECT all{0, 0, expected.width, expected.height};
  FillRect(expected.dc, &all, menu);
  HGDIOBJ oldFont = SelectObject(expected.dc, mainWindowState.uiFont);
  SetTextColor(expected.dc, RGB(0, 0, 0));
  SetBkColor(expected.dc, RGB(0xEE, 0xEE, 0xEE));
  TextOutW(expected.dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
  SIZE extent{};
  GetTextExtentPoint32W(expected.dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(expected.dc, oldFont);
  GdiFlush();

  // The line's own cells and whatever stands right of them up to the edge.
  Picture actual(expected.width, extent.cy);
  copyClient(window, RECT{x, y, right, y + extent.cy}, actual);
  for (int row = 0; row < extent.cy; ++row) {
    for (int column = 0; column < expected.width; ++column) {
      if (expected.at(column, row) != actual.at(column, row)) return false;
    }
  }
  return true;
}

bool showsOnlyBackground(HWND window, const RECT& area) {
  Picture actual(area.right - area.left, area.bottom - area.top);
  copyClient(window, area, actual);
  std::uint32_t menu = dibColour(GetSysColor(COLOR_MENU));
  for (int row = 0; row < actual.height; ++row) {
    for (int column = 0; column < actual.width; ++column) {
      if (actual.at(column, row) != menu) return false;
    }
  }
  return true;
}

SIZE clientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}
