// Lumbra's entry point: the viewer's start-up and shutdown in order.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

#include "app/command_line.h"
#include "app/menu_marks.h"
#include "app/program_settings.h"
#include "core/locale_startup.h"
#include "winrt/dialogs.h"
#include "winrt/event_codes.h"
#include "winrt/runtime_errors.h"
#include "winrt/runtime_errors_win32.h"
#include "winrt/window.h"

namespace lumbra {

namespace {

constexpr const char* kModuleTag = "lumbra$LUMBRA";
constexpr const char* kMainWindow = "$PICVIEWWINDOW";

std::string ProgramPath() {
  char path[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, n);
}

std::int32_t Number(const std::string& text) {
  return static_cast<std::int32_t>(std::strtol(text.c_str(), nullptr, 10));
}

// The main window's controls.
constexpr std::int32_t kImageControl = 64;
constexpr std::int32_t kLoadingImageText = 66;
constexpr std::int32_t kImageNotLoadedText = 67;
constexpr std::int32_t kColourSamplePanel = 68;

// A saved position that would leave the window's caption off the screen
// (a damaged or hand-edited LUMBRA.INI, or a screen since removed) gives
// way to the screen's edge, so that the user can reach the window. For the
// vertical axis the size is 0: the caption is at the top.
std::int32_t Reachable(std::int32_t position, std::int32_t size, int originMetric,
                       int extentMetric) {
  constexpr std::int32_t kGrip = 40;  // of the caption, at least this much on screen
  const std::int32_t origin = GetSystemMetrics(originMetric);
  const std::int32_t extent = GetSystemMetrics(extentMetric);
  const std::int64_t end = std::int64_t{position} + std::max(size, kGrip);
  if (position > origin + extent - kGrip || end < origin + kGrip) return origin;
  if (size == 0 && position < origin) return origin;
  return position;
}

// The first set-up of the opened window: the texts, the image control and
// the colour-sample panel hidden, pixel units, the saved geometry (a
// window without a saved size keeps the description's size) and colour.
void SetUpMainWindow() {
  HideControls(kLoadingImageText, kImageNotLoadedText);
  HideControls(kColourSamplePanel);
  HideControls(kImageControl);
  SetProperty(0, PROP::Pixels, 1);
  SetProperty(0, PROP::StatusText, "Lumbra 1.0", 5);
  SetProperty(0, PROP::Background, 0);
  if (PS.WIDTH > 0 && PS.HEIGHT > 0) {
    SetControlPosition(0, Reachable(PS.XPOS, PS.WIDTH, SM_XVIRTUALSCREEN, SM_CXVIRTUALSCREEN),
                       Reachable(PS.YPOS, 0, SM_YVIRTUALSCREEN, SM_CYVIRTUALSCREEN), PS.WIDTH,
                       PS.HEIGHT);
  }
  SetProperty(0, PROP::Background, PS.BGCOLOR);
  if (PS.MAXIMIZED) SetProperty(0, PROP::Maximize, 1);
}

void CaptureGeometry() {
  PS.XPOS = Number(GetProperty(0, PROP::Xpos));
  PS.YPOS = Number(GetProperty(0, PROP::Ypos));
  PS.MAXIMIZED = GetProperty(0, PROP::Maximize) == "1" ? 1 : 0;
  PS.WIDTH = static_cast<std::int16_t>(Number(GetProperty(0, PROP::Width)));
  PS.HEIGHT = static_cast<std::int16_t>(Number(GetProperty(0, PROP::Height)));
}

// No vetoes the close; Yes, or Prompt on Exit off, lets it proceed.
bool CloseConfirmed() {
  if (!PS.PROMPTONEXIT) return true;
  return MessageDialog("Are you sure you want to close the program?", "Close Lumbra",
                       "ICON:Question", BUTTON::Yes + BUTTON::No, BUTTON::Yes) != BUTTON::No;
}

}  // namespace

int RunViewer() {
  InitialiseRuntimeErrors();
  StartLocale();
  SetRuntimeStarted(true);
  IniFilePath = IniPathForProgram(ProgramPath());

  const std::string_view text = CommandLineText(GetCommandLineA());
  PS.COMMANDLINELEN = CommandLineLength(text);
  PS.COMMANDLINEPOS = CommandLineStart(text);

  LoadSettings();

  std::vector<UseVariable> uses;
  for (std::uint8_t& check : MenuChecks) uses.push_back({&check, 0x01, 1});
  Window main;
  if (!CreateWindowFromDescription(main, kModuleTag, kMainWindow, uses)) return 2;
  OpenWindowObject(main);
  SetUpMainWindow();

  Accept([] {
    switch (EVENT()) {
      case Event::CloseWindow: return CloseConfirmed() ? kPassNormal : kPassSkip;
      default: return kPassNormal;
    }
  });

  CaptureGeometry();
  SaveSettings();
  AlertKeys(0, 0);
  CloseWindowObject(main);
  return 0;
}

}  // namespace lumbra

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return lumbra::RunViewer(); }
