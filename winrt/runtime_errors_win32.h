// The Windows pieces of runtime errors: the string table, GetLastError,
// the "Runtime error" box, the fault handler and the trace switch.
#pragma once

namespace lumbra {

// Installs them all; called once when the runtime starts.
void InitialiseRuntimeErrors();

}  // namespace lumbra
