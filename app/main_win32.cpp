// Lumbra's entry point: the viewer's start-up and shutdown in order.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/command_line.h"
#include "app/image_list.h"
#include "app/image_prefetch.h"
#include "app/main_window.h"
#include "app/menu_marks.h"
#include "app/program_settings.h"
#include "app/viewer_module.h"
#include "core/locale_startup.h"
#include "core/phase_trace.h"
#include "winrt/runtime_errors.h"
#include "winrt/runtime_errors_win32.h"
#include "winrt/window.h"

namespace lumbra {

namespace {

constexpr const char* kMainWindow = "$PICVIEWWINDOW";

std::string ProgramPath() {
  char path[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, n);
}

std::int32_t Number(const std::string& text) {
  return static_cast<std::int32_t>(std::strtol(text.c_str(), nullptr, 10));
}

void CaptureGeometry() {
  PS.XPOS = Number(GetProperty(0, PROP::Xpos));
  PS.YPOS = Number(GetProperty(0, PROP::Ypos));
  PS.MAXIMIZED = GetProperty(0, PROP::Maximize) == "1" ? 1 : 0;
  PS.WIDTH = static_cast<std::int16_t>(Number(GetProperty(0, PROP::Width)));
  PS.HEIGHT = static_cast<std::int16_t>(Number(GetProperty(0, PROP::Height)));
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

  // Made before the main window and ended after it has closed: leaving the
  // program with a decode in flight lets it finish, unseen, and joins it.
  ImagePrefetch prefetch(PrefetchWanted());
  PrefetchArgumentImage(CommandLineArgument(text, PS.COMMANDLINEPOS, PS.COMMANDLINELEN));
  std::vector<UseVariable> uses;
  for (std::uint8_t& check : MenuChecks) uses.push_back({&check, 0x01, 1});
  Window main;
  if (!CreateWindowFromDescription(main, kViewerModule, kMainWindow, uses)) return 2;
  // Placed, sized and filled before it shows: the platform maps it once.
  OpenWindowObject(main, false);
  SetUpMainWindow();
  ShowOpenedWindow(main);
  CurrentImage = 1;

  Accept(MainWindowEvent);

  CaptureGeometry();
  SaveSettings();
  AlertKeys(0, 0);
  CloseWindowObject(main);
  DirectoryQueue.Free();
  ImageList.Free();
  return 0;
}

}  // namespace lumbra

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  lumbra::PhaseMark("start-up: program entered");
  return lumbra::RunViewer();
}
