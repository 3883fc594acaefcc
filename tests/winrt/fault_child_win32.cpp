// Faults on request, so that a test can read the report it leaves:
//   winrt_fault_child access   - writes to an unmapped address
//   winrt_fault_child <hex>    - raises that exception code
//   winrt_fault_child ask <hex> - hands that code to the fault handler and
//                                 exits with the handler's answer
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/error_state.h"
#include "winrt/fault_report_win32.h"
#include "winrt/runtime_errors_win32.h"

int main(int argc, char** argv) {
  // No crash dialog and no debugger for the exceptions that pass on.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  lumbra::InitialiseRuntimeErrors();
  lumbra::SetErrorState(535);
  if (argc < 2) return 1;
  if (std::strcmp(argv[1], "access") == 0) {
    volatile std::uintptr_t address = 16;
    *reinterpret_cast<volatile int*>(address) = 1;
    return 0;
  }
  if (std::strcmp(argv[1], "ask") == 0 && argc > 2) {
    EXCEPTION_RECORD record = {};
    record.ExceptionCode = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 16));
    CONTEXT context = {};
    RtlCaptureContext(&context);
    EXCEPTION_POINTERS pointers = {&record, &context};
    return static_cast<int>(lumbra::FaultReportFilter(&pointers)) + 10;
  }
  RaiseException(static_cast<DWORD>(std::strtoul(argv[1], nullptr, 16)), EXCEPTION_NONCONTINUABLE,
                 0, nullptr);
  return 0;
}
