// Writing the fault report on Windows.
#pragma once

#include <cstdint>

#include "winrt/fault_report.h"

namespace lumbra {

// Installs the fault-report handler for the process (once; later calls do
// nothing). The handler writes the report for the first fault whose code
// has a name and then lets the process end.
void InstallFaultHandler();

// The handler itself: writes the report for a named exception (the first
// one only) and answers EXCEPTION_EXECUTE_HANDLER, which ends the process;
// other codes are passed on (EXCEPTION_CONTINUE_SEARCH). The argument is
// the system's EXCEPTION_POINTERS.
long FaultReportFilter(void* exceptionPointers);

// Where the report reads the window runtime's state (the window runtime
// installs it; without it the values are 0).
using LibraryStateQuery = LibraryState (*)();
void SetLibraryStateQuery(LibraryStateQuery query);

// Writes the report for the current point of execution as if the given
// exception had happened here (used by the error box's Cancel), then ends
// the process with that code.
[[noreturn]] void WriteFaultReportAndEnd(std::uint32_t code);

}  // namespace lumbra
