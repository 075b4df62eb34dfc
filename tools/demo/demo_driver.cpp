// The demonstration `make run` gives on a machine without a display: starts
// the control panel against the simulated unit, connects, picks inputs,
// mutes, opens the three settings windows, and saves a screenshot of each
// window as a BMP in the folder given on the command line. Checks on screen
// that the caption buttons show their glyphs. Prints the output
// pane's text at the end. Exit code 0 when every step worked.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tools/demo/close_glyph.h"
#include "tools/demo/screen_shots.h"
#include "tools/panel-driver/panel_in_process.h"
#include "tools/panel-driver/program_process.h"
#include "tools/panel-driver/session_environment.h"
#include "tools/panel-driver/waiting.h"

namespace {
std::wstring outputFolder = L".";
bool allWorked = true;

void step(bool worked, const char* what) {
  std::printf("%s %s\n", worked ? "done:" : "FAILED:", what);
  std::fflush(stdout);
  if (!worked) allWorked = false;
}

// Lets every pending paint reach the screen, then writes the window's shot.
bool saveShot(HWND window, const std::wstring& name) {
  pumpFor(500);
  return saveWindowShot(window, outputFolder + L"\\" + name + L".bmp");
}

void click(HWND window, int id) { SendMessageW(GetDlgItem(window, id), BM_CLICK, 0, 0); }

HWND openSettings(HWND main, int menuId, const wchar_t* title) {
  PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(menuId), 0);
  HWND window = waitForWindow(L"zaro_subwin", title);
  pumpFor(700);   // the opening queries' replies are parsed and painted
  return window;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 1) outputFolder = argv[1];
  ProgramProcess program;
  step(program.started(), "the control panel started");
  if (!program.started()) return 1;
  HWND main = program.mainWindow();
  // A prefix without Marlett shows letters in the caption buttons.
  std::string closeInk;
  bool glyph = closeBoxShowsGlyph(main, closeInk);
  step(glyph, ("the close box shows its glyph, not a letter (" + closeInk + ")").c_str());

  int port = listedPortIndex(simPortName());
  step(port >= 0, "the simulated unit's port is listed");
  PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(800 + port), 0);
  step(waitFor([&] { return windowText(GetDlgItem(main, 1002)).find(L"FLMCU SW Versions") != std::wstring::npos; },
               10000),
       "connected; the unit answered the opening queries");

  click(main, 612);    // video "VGA2"
  click(main, 508);    // audio "3"
  click(main, 1014);   // "HDMI\nMute"
  pumpFor(600);
  PostMessageW(main, WM_COMMAND, 1020, 0);   // "Show Output"
  step(saveShot(main, L"main-window"), "picked VGA2 and audio 3, muted HDMI: main-window");

  struct Settings {
    int menuId;
    const wchar_t* title;
    const wchar_t* shot;
  };
  const Settings settings[] = {{3001, L"Output Video Settings", L"output-video-settings"},
                               {4002, L"VGA Image Adjustments", L"vga-image-adjustments"},
                               {3003, L"Network Settings", L"network-settings"}};
  for (const Settings& s : settings) {
    HWND window = openSettings(main, s.menuId, s.title);
    std::string name(s.shot, s.shot + wcslen(s.shot));
    step(window != nullptr && saveShot(window, s.shot), ("opened and captured " + name).c_str());
    if (window != nullptr) PostMessageW(window, WM_CLOSE, 0, 0);
    pumpFor(200);
  }

  std::wstring pane = windowText(GetDlgItem(main, 1002));
  std::printf("--- output pane ---\n%ls--- end of output pane ---\n", pane.c_str());
  int exitCode = program.close();
  step(exitCode == 0, "the control panel closed with exit code 0");
  return allWorked ? 0 : 1;
}
