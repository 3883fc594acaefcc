// Lumbra's entry point: the viewer's start-up and shutdown in order.
#include <windows.h>

#include <string>

#include "app/command_line.h"
#include "app/program_settings.h"

namespace lumbra {

std::string ProgramPath() {
  char path[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, n);
}

int RunViewer() {
  IniFilePath = IniPathForProgram(ProgramPath());

  const std::string_view text = CommandLineText(GetCommandLineA());
  PS.COMMANDLINELEN = CommandLineLength(text);
  PS.COMMANDLINEPOS = CommandLineStart(text);

  LoadSettings();
  return 0;
}

}  // namespace lumbra

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return lumbra::RunViewer(); }
