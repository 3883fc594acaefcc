#include "winrt/runtime_errors_win32.h"

#include <windows.h>

#include <string>

#include "core/error_state.h"
#include "winrt/fault_report_win32.h"
#include "winrt/runtime_errors.h"
#include "winrt/trace_log.h"

namespace lumbra {

namespace {

bool ReadStringTable(std::int32_t code, std::string* text) {
  if (code < 0 || code > 0xFFFF) return false;
  char buffer[256];
  const int n =
      LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(code), buffer, sizeof buffer);
  if (n <= 0) return false;
  text->assign(buffer, static_cast<std::size_t>(n));
  return true;
}

std::uint32_t LastSystemError() { return GetLastError(); }

bool ShowErrorBox(const std::string& message) {
  return MessageBoxA(nullptr, message.c_str(), "Runtime error",
                     MB_ICONSTOP | MB_OKCANCEL | MB_TASKMODAL) != IDCANCEL;
}

[[noreturn]] void Halt(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }
[[noreturn]] void FaultAndEnd() { WriteFaultReportAndEnd(0xC0000005); }

bool AuxTraceEnabled() {
  char value[64] = {};
  GetProfileStringA("Wexalon 4 Tracing", "auxtrace", "", value, sizeof value);
  return value[0] != '\0';
}

void WriteAux(std::string_view line) {
  HANDLE aux = CreateFileA("AUX", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (aux == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(aux, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(aux);
}

}  // namespace

void InitialiseRuntimeErrors() {
  SetStringTableLookup(ReadStringTable);
  UseProgramErrorTexts();
  SetLastSystemErrorQuery(LastSystemError);
  SetErrorBoxPlatform({ShowErrorBox, Halt, FaultAndEnd});
  SetTraceAuxiliary({AuxTraceEnabled, WriteAux});
  InstallFaultHandler();
}

}  // namespace lumbra
